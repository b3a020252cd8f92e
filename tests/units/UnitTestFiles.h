// Helpers of the unit analysis tests: a project folder on disk that is the current folder
// while a test runs, a fixed report clock, and byte-for-byte comparison with golden files.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/TextLines.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "settings/LstGlobal.h"
#include "units/UnitTree.h"

namespace ravelin::testing_units {

/// A local time as seconds since the epoch.
inline std::time_t LocalTimeOf(int year, int month, int day, int hour, int minute, int second) {
  std::tm parts{};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  parts.tm_isdst = -1;
  return std::mktime(&parts);
}

/// Sets every unit setting back to empty and off.
inline void ClearSearchSettings() {
  RtlPath.clear();
  VclPath.clear();
  SearchPaths.clear();
  UseRtl = false;
  UseVcl = false;
  UseSearchPath = false;
}

/// A fresh folder that is the current folder for the test; the unit analysis state, the
/// settings and the report clock start clean and are cleaned up afterwards.
class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "ravelin-units-XXXXXX");
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    previous_ = std::filesystem::current_path();
    Fs().SetCurrentFolder(folder_);
    Fs().ClearCache();
    ResetUnitAnalysisState();
    ClearSearchSettings();
    SetReportClock([] { return LocalTimeOf(2000, 8, 15, 9, 5, 0); });
  }
  void TearDown() override {
    SetReportClock({});
    ClearSearchSettings();
    ResetUnitAnalysisState();
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(folder_, ignored);
    Fs().ClearCache();
  }

  /// Writes a file (folders made as needed) relative to the project folder.
  void Write(const std::string& name, const std::string& text) {
    std::filesystem::path path = std::filesystem::path(folder_) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
  }
  /// Gives a file a last change time (local time).
  void Touch(const std::string& name, std::time_t time) {
    struct utimbuf times {
      time, time
    };
    ::utime((folder_ + "/" + name).c_str(), &times);
  }
  /// The absolute name of a file of the project folder.
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  /// text with every occurrence of the project folder written as "<dir>".
  std::string Anonymous(const std::string& text) const {
    return ReplaceAll(text, folder_, "<dir>");
  }

  std::string folder_;
  std::filesystem::path previous_;
};

/// The unit tree as lines "  "*level + letter + ":" + name.
inline std::string TreeText(TUnitTree& tree) {
  std::string out;
  tree.WalkChart([&](TUnitNode& node) {
    out += std::string(2u * tree.Level, ' ') + (node.Kind == 0 ? "H:" : "V:") + node.Name + "\n";
  });
  return out;
}

/// The unit file list joined by "\n".
inline std::string ListText() {
  std::string out;
  for (const auto& name : UnitFileNames()) out += name + "\n";
  return out;
}

/// The content of a golden file of tests/data/units.
inline std::string Golden(const std::string& name) {
  std::ifstream in(std::string(RAVELIN_TEST_DATA) + "/units/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

/// Compares a report with a golden file byte for byte; names the first differing line.
inline void ExpectGolden(const std::string& actual, const std::string& goldenName) {
  std::string expected = Golden(goldenName);
  ASSERT_FALSE(expected.empty()) << "golden file missing: " << goldenName;
  if (actual == expected) return;
  // Split on LF only so that a missing or extra CR shows up in the line.
  std::istringstream a(actual), e(expected);
  std::string la, le;
  int line = 0;
  for (;;) {
    ++line;
    bool ha = static_cast<bool>(std::getline(a, la));
    bool he = static_cast<bool>(std::getline(e, le));
    if (!ha && !he) break;
    if (ha != he || la != le) {
      ADD_FAILURE() << goldenName << ": first difference in line " << line << "\n  actual:   \""
                    << (ha ? la : "<none>") << "\"\n  expected: \"" << (he ? le : "<none>") << "\"";
      return;
    }
  }
  ADD_FAILURE() << goldenName << ": differs (line ends?)";
}

}  // namespace ravelin::testing_units
