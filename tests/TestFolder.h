// Files on disk for the tests: a temporary folder removed with everything in it, byte-exact
// file writing and reading, and a current folder that is put back at the end of a scope.
#pragma once

#include <signal.h>
#include <stdlib.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

namespace ravelin::testing {

/// The file system's path for a UTF-8 name (on Windows a narrow path is in the ANSI code page).
inline std::filesystem::path Utf8Path(const std::string& name) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
#else
  return name;
#endif
}

/// Writes bytes to a file, replacing it and creating its folders; throws when it cannot.
inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

/// The bytes of a file; empty when it cannot be read.
inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

/// A fresh folder, removed with everything in it (read-only folders inside included) when the
/// object goes.
class TempFolder {
 public:
  /// Makes the folder from pattern, whose name ends in "XXXXXX"; a relative pattern is taken
  /// inside the system's temporary folder. Throws when the folder cannot be made.
  explicit TempFolder(const std::string& pattern = "ravelin-XXXXXX") {
    std::filesystem::path where(pattern);
    if (where.is_relative()) where = std::filesystem::temp_directory_path() / where;
    std::string name = std::filesystem::absolute(where).string();
#ifdef _WIN32
    // No mkdtemp: the "XXXXXX" become random letters until a new folder is made.
    const std::string stem = name.substr(0, name.size() - 6);
    for (int attempt = 0;; ++attempt) {
      name = stem;
      for (int i = 0; i < 6; ++i) name += static_cast<char>('a' + std::rand() % 26);
      if (std::filesystem::create_directory(name)) break;
      if (attempt == 100) throw std::runtime_error("cannot make " + name);
    }
    for (char& c : name)
      if (c == '\\') c = '/';  // as Ravelin writes full names
#else
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make " + name);
#endif
    path_ = name;
  }
  ~TempFolder() {
    OpenUp(path_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  /// The folder's absolute path, no trailing "/".
  const std::string& Path() const {
    return path_;
  }
  /// The absolute path of name inside the folder.
  std::string operator/(const std::string& name) const {
    return path_ + "/" + name;
  }
  /// Writes a file inside the folder (creating its folders) and returns its absolute path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    WriteBytes(Utf8Path(*this / name), bytes);
    return *this / name;
  }
  /// Creates a folder inside the folder (and its parents) and returns its absolute path.
  std::string MakeFolder(const std::string& name) const {
    std::filesystem::create_directories(Utf8Path(*this / name));
    return *this / name;
  }

 private:
  /// Gives the owner full access to folder and every folder below it, links not followed.
  static void OpenUp(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    for (std::filesystem::directory_iterator entry(folder, ignored), end; entry != end;
         entry.increment(ignored)) {
      if (entry->symlink_status(ignored).type() == std::filesystem::file_type::directory)
        OpenUp(entry->path());
    }
  }

  std::string path_;
};

/// Puts the process's current folder back at the end of the scope, optionally changing it
/// for the scope first.
class ScopedCurrentFolder {
 public:
  /// Keeps the current folder to put it back later.
  ScopedCurrentFolder() : previous_(std::filesystem::current_path()) {}
  /// Makes folder the current one until the end of the scope; throws when it cannot.
  explicit ScopedCurrentFolder(const std::filesystem::path& folder) : ScopedCurrentFolder() {
    std::filesystem::current_path(folder);
  }
  ~ScopedCurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
  ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

#ifndef _WIN32
/// Lets files grow to at most bytes for the scope, as a full disk would: a write beyond fails
/// part way (EFBIG) instead of raising SIGXFSZ.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) : handler_(::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit small = old_;
    small.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~ScopedFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, handler_);
  }
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

 private:
  rlimit old_{};
  sighandler_t handler_;
};
#endif

}  // namespace ravelin::testing
