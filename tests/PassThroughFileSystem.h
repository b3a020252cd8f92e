// The base of the test file systems that make chosen calls fail: the real disk, every call
// passed on unchanged.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSys.h"

namespace ravelin::testing {

/// A disk file system of its own that passes every call on; a fake derives from it and
/// overrides only the calls it makes fail, calling the base for the others.
class PassThroughFileSystem : public FileSystem {
 public:
  PassThroughFileSystem() : disk_(MakeDiskFileSystem()) {}

  std::optional<std::string> Resolve(std::string_view path) override {
    return disk_->Resolve(path);
  }
  FileStat Stat(std::string_view path) override { return disk_->Stat(path); }
  OpenedFile OpenRead(std::string_view path, Readable what) override {
    return disk_->OpenRead(path, what);
  }
  std::vector<DirEntry> ListFolder(std::string_view folder) override {
    return disk_->ListFolder(folder);
  }
  FolderScan ScanFolder(std::string_view folder) override { return disk_->ScanFolder(folder); }
  void ReplaceFile(std::string_view path, std::string_view data) override {
    disk_->ReplaceFile(path, data);
  }
  std::unique_ptr<NewFile> CreateNewFile(std::string_view path) override {
    return disk_->CreateNewFile(path);
  }
  void AppendReport(std::string_view path, std::string_view text, ReportStart start) override {
    disk_->AppendReport(path, text, start);
  }
  void TruncateFile(std::string_view path) override { disk_->TruncateFile(path); }
  std::string CurrentFolder() override { return disk_->CurrentFolder(); }
  void SetCurrentFolder(std::string_view folder) override { disk_->SetCurrentFolder(folder); }
  void MakeFolders(std::string_view folder) override { disk_->MakeFolders(folder); }
  void ClearCache() override { disk_->ClearCache(); }

 private:
  std::unique_ptr<FileSystem> disk_;
};

}  // namespace ravelin::testing
