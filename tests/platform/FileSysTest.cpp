// The disk as Ravelin sees it: names found ignoring case, what can be read, listings, and
// writes that never lose what a file held.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "DataTable.h"
#include "common/Error.h"
#include "common/VornString.h"
#include "platform/FileSys.h"

namespace ravelin {
namespace {

using Args = std::vector<std::string>;
using testing::TempFolder;

class FileSysTest : public ::testing::Test {
 protected:
  TempFolder dir_{"ravelin-fs-XXXXXX"};
  std::unique_ptr<FileSystem> fs_ = MakeDiskFileSystem();
};

TEST_F(FileSysTest, FindsReadsAndTellsAsTheTableSays) {
  for (const char* name : {"Common/utils.pas", "Unit1.dfm", "forms.pas", "Forms.pas", "FORMS.pas"})
    dir_.Write(name, "");
  dir_.Write("a.pas", "abc");
  dir_.MakeFolder("Sub.pas");
  ASSERT_EQ(::mkfifo((dir_ / "pipe.pas").c_str(), 0600), 0);
  auto path = [&](const std::string& text) { return ReplaceAll(text, "{dir}", dir_.Path()); };
  testing::CheckRoutineTable(
      "platform/disk.txt",
      {
          {"Resolve",
           [&](const Args& a) {
             return ReplaceAll(fs_->Resolve(path(a[0])).value_or("none"), dir_.Path(), "{dir}");
           }},
          {"Read",
           [&](const Args& a) {
             std::string data = "stale";
             return fs_->TryReadFile(path(a[0]), data) ? data : data.empty() ? "none" : "stale";
           }},
          {"Stat",
           [&](const Args& a) {
             const FileStat st = fs_->Stat(path(a[0]));
             EXPECT_EQ(fs_->FileExists(path(a[0])), st.exists && !st.isDir);
             EXPECT_EQ(fs_->FolderExists(path(a[0])), st.isDir);
             return !st.exists ? "none" : st.isDir ? "folder" : "file " + std::to_string(st.size);
           }},
      });
  EXPECT_THROW(fs_->ReadFile(dir_ / "none.pas"), IoError);
}

TEST_F(FileSysTest, ListsSortedInCapitalsAndRefreshesAfterItsOwnWrites) {
  for (const char* name : {"b.pas", "A.pas", "a.pas", "_x.pas"}) dir_.Write(name, "");
  dir_.MakeFolder("Zeta");
  std::string names;
  for (const auto& e : fs_->ListFolder(dir_.Path())) names += e.name + (e.isDir ? "/ " : " ");
  EXPECT_EQ(names, "./ ../ A.pas a.pas b.pas Zeta/ _x.pas ");
  EXPECT_TRUE(fs_->ListFolder(dir_ / "missing").empty());
  fs_->AppendReport(dir_ / "new.pas", "x", ReportStart::AtEnd);
  EXPECT_EQ(fs_->ListFolder(dir_.Path()).size(), 8u);
  EXPECT_TRUE(fs_->Resolve(dir_ / "B.PAS").has_value());  // indexes the folder
  dir_.Write("Late.pas", "");                             // written behind its back
  EXPECT_FALSE(fs_->Resolve(dir_ / "LATE.PAS").has_value());
  fs_->ClearCache();
  EXPECT_TRUE(fs_->Resolve(dir_ / "LATE.PAS").has_value());
}

TEST_F(FileSysTest, ATrustedRunTakesAFolderAsReadButSeesWhatItWritesItself) {
  dir_.Write("a.pas", "");
  const TrustedFolderCache trust(*fs_);
  EXPECT_FALSE(fs_->FileExists(dir_ / "a.dfm"));  // indexes the folder
  dir_.Write("a.dfm", "");                        // written behind its back: not looked for
  EXPECT_FALSE(fs_->FileExists(dir_ / "a.dfm"));
  std::unique_ptr<NewFile> own = fs_->CreateNewFile(dir_ / "Own.pas");
  EXPECT_FALSE(fs_->FileExists(dir_ / "z.pas"));  // indexes the folder again, before the commit
  own->Write("x");
  own->Commit();
  EXPECT_TRUE(fs_->FileExists(dir_ / "OWN.PAS"));
  fs_->TrustFolderCache(false);
  EXPECT_TRUE(fs_->FileExists(dir_ / "a.dfm"));
}

TEST_F(FileSysTest, ScansFoldersWithKindsLinksFollowed) {
  dir_.Write("f.pas", "abc");
  std::filesystem::create_symlink("f.pas", dir_ / "lf");
  std::filesystem::create_symlink("none", dir_ / "broken");
  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  std::string got = fs_->ScanFolder(dir_.Path()).error;
  for (const auto& e : fs_->ScanFolder(dir_.Path()).entries)
    got += e.name + ":" + "FDOM"[static_cast<int>(e.kind)] + std::to_string(e.size) + " ";
  EXPECT_EQ(got, "broken:M0 f.pas:F3 lf:F3 pipe:O0 ");
  EXPECT_EQ(fs_->ScanFolder(dir_ / "missing").error, "No such file or directory");
  EXPECT_EQ(fs_->ScanFolder(dir_ / "F.PAS").error, "Not a directory");
}

TEST_F(FileSysTest, WritesKeepTheOldContentWhenTheyFail) {
  fs_->AppendReport(dir_ / "r.txt", "one\r\n", ReportStart::AtEnd);
  // The existing file, found ignoring case.
  fs_->AppendReport(dir_ / "R.TXT", "two\r\n", ReportStart::AtEnd);
  EXPECT_EQ(testing::ReadBytes(dir_ / "r.txt"), "one\r\ntwo\r\n");
  fs_->ReplaceFile(dir_ / "s.ini", "old");
  ::chmod((dir_ / "s.ini").c_str(), 0640);
  fs_->ReplaceFile(dir_ / "S.INI", "new");
  EXPECT_EQ(testing::ReadBytes(dir_ / "s.ini"), "new");
  struct stat st {};
  ::stat((dir_ / "s.ini").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  {
    testing::ScopedFileSizeLimit limit(20);
    EXPECT_THROW(fs_->AppendReport(dir_ / "r.txt", std::string(100, 'n'), ReportStart::AtEnd),
                 IoError);
    EXPECT_THROW(fs_->AppendReport(dir_ / "fresh.txt", std::string(100, 'n'), ReportStart::AtEnd),
                 IoError);
    EXPECT_THROW(fs_->ReplaceFile(dir_ / "s.ini", std::string(100, 'x')), IoError);
  }
  EXPECT_EQ(testing::ReadBytes(dir_ / "r.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(testing::ReadBytes(dir_ / "s.ini"), "new");
  EXPECT_EQ(fs_->ListFolder(dir_.Path()).size(), 4u);  // no fresh.txt, no temporary file
  EXPECT_THROW(fs_->ReplaceFile(dir_ / "nofolder/s.ini", "x"), IoError);
  EXPECT_THROW(fs_->AppendReport(dir_.Path(), "x", ReportStart::AtEnd), IoError);
  const std::string nul = dir_ / "s.ini" + std::string(1, '\0');
  EXPECT_THROW(fs_->AppendReport(nul, "x", ReportStart::AtEnd), IoError);
  EXPECT_THROW(fs_->ReplaceFile(nul, "x"), IoError);
  EXPECT_THROW(fs_->TruncateFile(nul), IoError);
  EXPECT_THROW(fs_->MakeFolders(nul), IoError);
}

TEST_F(FileSysTest, AppendToAnUnwritableFileThrowsAndKeepsIt) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
  dir_.Write("r.txt", "old");
  ::chmod((dir_ / "r.txt").c_str(), 0444);
  EXPECT_THROW(fs_->AppendReport(dir_ / "r.txt", "new", ReportStart::AtEnd), IoError);
  EXPECT_EQ(fs_->ReadFile(dir_ / "r.txt"), "old");
}

TEST_F(FileSysTest, TruncateCurrentFolderAndMakeFolders) {
  dir_.Write("r.txt", "old");
  dir_.MakeFolder("Config");
  fs_->TruncateFile(dir_ / "R.txt");
  EXPECT_EQ(testing::ReadBytes(dir_ / "r.txt"), "");
  fs_->TruncateFile(dir_ / "new.txt");
  EXPECT_TRUE(fs_->FileExists(dir_ / "new.txt"));
  EXPECT_THROW(fs_->TruncateFile(dir_ / "nofolder/x.txt"), IoError);

  testing::ScopedCurrentFolder keep;
  fs_->SetCurrentFolder(dir_ / "CONFIG");
  EXPECT_EQ(fs_->CurrentFolder(), dir_ / "Config");
  EXPECT_EQ(fs_->FullPath("..\\x\\.\\y.pas"), dir_ / "x/y.pas");
  EXPECT_EQ(fs_->FullPath("\\abs"), "/abs");
  EXPECT_THROW(fs_->SetCurrentFolder(dir_ / "none"), IoError);
  fs_->MakeFolders(dir_ / "config/ravelin/deep");
  EXPECT_TRUE(fs_->FolderExists(dir_ / "Config/ravelin/deep"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "config"));  // the existing spelling was reused
}

}  // namespace
}  // namespace ravelin
