// Helpers for tests that need files on disk: a temporary folder removed at the end, byte-exact
// file writing and reading, and a byte-for-byte comparison that names the first differing line.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace ravelin::testing {

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ravelin-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name.data();
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  /// The folder's absolute path, no trailing "/".
  const std::string& Path() const { return path_; }
  /// The path of a name inside the folder.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

/// Writes bytes to a file, creating its folders.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
  if (!file) throw std::runtime_error("cannot write " + path);
}

/// The bytes of a file; empty when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

/// Makes the given folder the current one for the lifetime of this object.
class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const std::string& folder)
      : previous_(std::filesystem::current_path()) {
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

/// Compares two texts byte for byte; on a difference names the first differing line (lines
/// split after each LF, line ends shown escaped).
inline ::testing::AssertionResult SameBytes(const std::string& expected,
                                            const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  auto split = [](const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      end = end == std::string::npos ? text.size() : end + 1;
      lines.push_back(text.substr(start, end - start));
      start = end;
    }
    return lines;
  };
  auto show = [](const std::string& line) {
    std::string shown;
    for (char c : line) {
      if (c == '\r') {
        shown += "\\r";
      } else if (c == '\n') {
        shown += "\\n";
      } else {
        shown += c;
      }
    }
    return "[" + shown + "]";
  };
  const auto want = split(expected);
  const auto got = split(actual);
  size_t i = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) ++i;
  std::ostringstream message;
  message << "texts differ first at line " << (i + 1)
          << "\n  expected: " << (i < want.size() ? show(want[i]) : "<end of text>")
          << "\n  actual:   " << (i < got.size() ? show(got[i]) : "<end of text>");
  return ::testing::AssertionFailure() << message.str();
}

}  // namespace ravelin::testing
