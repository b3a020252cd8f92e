// Helpers of the unit analysis tests: a project folder that is the current folder while a test
// runs, a fixed report clock, and the unit tree and list as text.
#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "SameText.h"
#include "TestFolder.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "settings/LstGlobal.h"
#include "units/UnitReports.h"
#include "units/UnitScan.h"

namespace ravelin::testing_units {

/// A local time as seconds since the epoch.
inline std::time_t LocalTimeOf(int year, int month, int day, int hour, int minute, int second) {
  std::tm parts{};
  parts.tm_year = year - 1900, parts.tm_mon = month - 1, parts.tm_mday = day;
  parts.tm_hour = hour, parts.tm_min = minute, parts.tm_sec = second, parts.tm_isdst = -1;
  return std::mktime(&parts);
}

/// The analysis from root, looked up along the folders of the settings.
inline void Analyse(const std::string& root) {
  BuildUnitTree(root, UnitLookup::FromSettings(Settings()));
}

/// A fresh folder that is the current folder for the test; the unit analysis state, the
/// settings and the report clock start clean and are cleaned up afterwards.
class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Fs().ClearCache();
    UnitAnalysis() = {};
    Settings() = {};
    SetReportClock([] { return LocalTimeOf(2000, 8, 15, 9, 5, 0); });
  }
  void TearDown() override {
    SetReportClock({});
    Settings() = {};
    UnitAnalysis() = {};
    Fs().ClearCache();
  }
  void Write(const std::string& name, const std::string& text) { project_.Write(name, text); }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  /// text with the project folder written as "<dir>".
  std::string Anonymous(const std::string& text) const {
    return ReplaceAll(text, folder_, "<dir>");
  }

  testing::TempFolder project_{"ravelin-units-XXXXXX"};
  std::string folder_ = project_.Path();
  testing::ScopedCurrentFolder here_{folder_};
};

/// The unit tree as lines "  "*level + "V:" or "H:" + name.
inline std::string TreeText(TUnitTree& tree) {
  std::string out;
  tree.WalkChart([&](TUnitNode& node) {
    out += std::string(2u * tree.Level, ' ') + (node.Kind == 0 ? "H:" : "V:") + node.Name + "\n";
  });
  return out;
}

/// The unit file list, one entry a line.
inline std::string ListText() {
  std::string out;
  for (const auto& name : UnitAnalysis().UnitFiles.Names()) out += name + "\n";
  return out;
}

}  // namespace ravelin::testing_units
