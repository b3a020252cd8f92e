// The settings variables, their file, window placement and where the file lives.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "PassThroughFileSystem.h"
#include "TestFolder.h"
#include "common/Error.h"
#include "platform/ExePath.h"
#include "platform/FileSys.h"
#include "settings/LstGlobal.h"

namespace ravelin {
namespace {

namespace fs = std::filesystem;

using testing::ReadBytes;
using testing::WriteBytes;

void ResetSettings() {
  ViewerChoice = 0;
  ViewerPath.clear();
  RtlPath.clear();
  VclPath.clear();
  SearchPaths.clear();
  UseRtl = UseVcl = UseSearchPath = false;
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = dir_ / "ravelin.INI";
    SetSettingsFileName(file_.string());
    ResetSettings();
  }
  void TearDown() override {
    SetSettingsFileName("");
    ResetSettings();
  }
  testing::TempFolder folder_{"ravelin-settings-XXXXXX"};
  fs::path dir_ = folder_.Path();
  fs::path file_;
};

// A window that records the order in which its placement is set.
class FakeWindow : public TWindowPlacement {
 public:
  explicit FakeWindow(std::string section) : section_(std::move(section)) {}
  std::string SectionName() const override { return section_; }
  int Top() const override { return top; }
  void SetTop(int value) override { top = value, calls.push_back("Top"); }
  int Left() const override { return left; }
  void SetLeft(int value) override { left = value, calls.push_back("Left"); }
  int Height() const override { return height; }
  void SetHeight(int value) override { height = value, calls.push_back("Height"); }
  int Width() const override { return width; }
  void SetWidth(int value) override { width = value, calls.push_back("Width"); }
  int top = 204, left = 312, height = 282, width = 463;
  std::vector<std::string> calls;

 private:
  std::string section_;
};

TEST_F(SettingsTest, DefaultReportNameIsFixed) {
  EXPECT_EQ(DefaultReportName, "Ravelin.TXT");
}

TEST_F(SettingsTest, FirstRunWithoutFileGivesDefaultsAndCancelCreatesTheFile) {
  ViewerChoice = 2;
  RtlPath = "stale";
  UseVcl = true;
  LoadSettings();
  EXPECT_EQ(ViewerChoice, 0);
  EXPECT_EQ(RtlPath, "");
  EXPECT_FALSE(UseRtl);
  EXPECT_FALSE(UseVcl);
  EXPECT_FALSE(UseSearchPath);
  EXPECT_FALSE(fs::exists(file_));

  FakeWindow main("dlgMain");
  SaveWindowPlacement(main);
  SaveSettings();
  EXPECT_EQ(ReadBytes(file_),
            "[dlgMain]\r\nTop=204\r\nLeft=312\r\nHeight=282\r\nWidth=463\r\n"
            "[LAST]\r\nViewer=0\r\nRTL=\r\nSearch Paths=\r\nViewer Path=\r\nVCL=\r\n"
            "Use RTL=0\r\nUse Search Path=0\r\nUse VCL=0\r\n");
}

TEST_F(SettingsTest, SaveWritesEveryVariableAndLoadReadsItBack) {
  ViewerChoice = 1;
  RtlPath = "/opt/rtl/";
  VclPath = "/opt/vcl/";
  ViewerPath = "/usr/bin/less";
  SearchPaths = "/a;/b c;";
  UseRtl = true;
  UseSearchPath = true;
  SaveSettings();
  EXPECT_EQ(ReadBytes(file_),
            "[LAST]\r\nViewer=1\r\nRTL=/opt/rtl/\r\nSearch Paths=/a;/b c;\r\n"
            "Viewer Path=/usr/bin/less\r\nVCL=/opt/vcl/\r\nUse RTL=1\r\n"
            "Use Search Path=1\r\nUse VCL=0\r\n");
  ResetSettings();
  LoadSettings();
  EXPECT_EQ(ViewerChoice, 1);
  EXPECT_EQ(RtlPath, "/opt/rtl/");
  EXPECT_EQ(VclPath, "/opt/vcl/");
  EXPECT_EQ(ViewerPath, "/usr/bin/less");
  EXPECT_EQ(SearchPaths, "/a;/b c;");
  EXPECT_TRUE(UseRtl);
  EXPECT_TRUE(UseSearchPath);
  EXPECT_FALSE(UseVcl);
}

struct StoredValueRow {
  const char* stored;
  int viewer;
  const char* viewerSaved;
};

TEST_F(SettingsTest, ViewerOtherThanZeroOrOneLoadsAndSavesAsTwo) {
  const StoredValueRow rows[] = {
      {"0", 0, "0"},  {"1", 1, "1"},   {"2", 2, "2"},    {"7", 2, "2"},
      {"-1", 2, "2"}, {"0x1", 1, "1"}, {"junk", 0, "0"}, {"", 0, "0"},
  };
  for (const auto& row : rows) {
    WriteBytes(file_, std::string("[LAST]\r\nViewer=") + row.stored + "\r\n");
    LoadSettings();
    EXPECT_EQ(ViewerChoice, row.viewer) << row.stored;
    SaveSettings();
    EXPECT_NE(ReadBytes(file_).find(std::string("\r\nViewer=") + row.viewerSaved + "\r\n"),
              std::string::npos)
        << row.stored;
  }
  ViewerChoice = 9;  // set in memory beyond the three choices
  SaveSettings();
  EXPECT_NE(ReadBytes(file_).find("\r\nViewer=2\r\n"), std::string::npos);
}

TEST_F(SettingsTest, BooleanIsTrueForAnyNonZeroIntegerAndSavedAsOne) {
  const struct {
    const char* stored;
    bool value;
  } rows[] = {{"5", true},  {"1", true},    {"-3", true},    {"0x10", true},
              {"0", false}, {"yes", false}, {"true", false}, {"", false}};
  for (const auto& row : rows) {
    WriteBytes(file_, std::string("[LAST]\r\nUse RTL=") + row.stored + "\r\n");
    LoadSettings();
    EXPECT_EQ(UseRtl, row.value) << row.stored;
    SaveSettings();
    EXPECT_NE(ReadBytes(file_).find(row.value ? "Use RTL=1\r\n" : "Use RTL=0\r\n"),
              std::string::npos)
        << row.stored;
  }
}

TEST_F(SettingsTest, LoadReplacesValuesChangedInMemory) {
  WriteBytes(file_, "[LAST]\r\nUse VCL=1\r\n");
  LoadSettings();
  UseVcl = false;
  UseRtl = true;
  SearchPaths = "/changed";
  LoadSettings();
  EXPECT_TRUE(UseVcl);
  EXPECT_FALSE(UseRtl);
  EXPECT_EQ(SearchPaths, "");
}

TEST_F(SettingsTest, ReadsOddlyShapedFilesWithoutFault) {
  const struct {
    const char* name;
    std::string text;
    const char* rtl;
    bool useVcl;
  } rows[] = {
      {"CR only", "[LAST]\rRTL=/r\rUse VCL=1\r", "/r", true},
      {"LF only", "[LAST]\nRTL=/r\nUse VCL=1\n", "/r", true},
      {"garbage", "\x01\x02garbage\r\n[LAST]\r\n===\r\n]\r\nRTL=/r\r\nUse VCL=on\r\n", "/r", false},
      {"missing section", "[Other]\r\nRTL=/r\r\nUse VCL=1\r\n", "", false},
      {"binary junk", std::string("\0\xff[LAST\0]\n=\r", 12), "", false},
  };
  for (const auto& row : rows) {
    WriteBytes(file_, row.text);
    LoadSettings();
    EXPECT_EQ(RtlPath, row.rtl) << row.name;
    EXPECT_EQ(UseVcl, row.useVcl) << row.name;
  }
}

TEST_F(SettingsTest, LongValueIsCutTo2047Characters) {
  WriteBytes(file_, "[LAST]\r\nSearch Paths=" + std::string(5000, 'p') + "\r\nUse RTL=1\r\n");
  LoadSettings();
  EXPECT_EQ(SearchPaths, std::string(2047, 'p'));
  EXPECT_TRUE(UseRtl);
}

TEST_F(SettingsTest, SaveKeepsOtherSectionsAndKeysInTheirOrder) {
  WriteBytes(file_,
             "; kept comment\n[dlgMain]\nTop=1\nLeft=2\n\n[last]\nUse VCL=1\nMine=keep me\n"
             "VIEWER=7\nnot an entry\n\n[Extra]\nK=V\n");
  LoadSettings();
  SaveSettings();
  EXPECT_EQ(ReadBytes(file_),
            "; kept comment\r\n[dlgMain]\r\nTop=1\r\nLeft=2\r\n\r\n[last]\r\nUse VCL=1\r\n"
            "Mine=keep me\r\nViewer=2\r\nnot an entry\r\nRTL=\r\nSearch Paths=\r\n"
            "Viewer Path=\r\nVCL=\r\nUse RTL=0\r\nUse Search Path=0\r\n\r\n[Extra]\r\nK=V\r\n");
}

TEST_F(SettingsTest, FailedSaveThrowsAndLeavesTheOldFileWhole) {
  // The settings file's folder is a file: nothing can be written there.
  fs::path blocker = dir_ / "blocker";
  WriteBytes(blocker, "not a folder");
  std::string name = (blocker / "ravelin.INI").string();
  SetSettingsFileName(name);
  UseRtl = true;
  try {
    SaveSettings();
    FAIL() << "no error";
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + name);
  }
  FakeWindow window("dlgMain");
  EXPECT_THROW(SaveWindowPlacement(window), IoError);
  EXPECT_EQ(ReadBytes(blocker), "not a folder");
}

TEST_F(SettingsTest, FailedSaveInReadOnlyFolderKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write into read-only folders";
  const std::string old = "[LAST]\r\nRTL=/old\r\n[Mine]\r\nA=1\r\n";
  WriteBytes(file_, old);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  RtlPath = "/new";
  try {
    SaveSettings();
    FAIL() << "no error";
  } catch (const IoError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + file_.string());
  }
  fs::permissions(dir_, fs::perms::owner_all);
  EXPECT_EQ(ReadBytes(file_), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

/// The disk, except that the files named in unreadable cannot be opened (as without read
/// permission, which the superuser running the tests would not feel).
class UnreadableFiles : public testing::PassThroughFileSystem {
 public:
  explicit UnreadableFiles(std::vector<std::string> unreadable)
      : unreadable_(std::move(unreadable)) {}
  bool TryReadFile(std::string_view p, std::string& out) override {
    for (const auto& name : unreadable_)
      if (p == name) return false;
    return PassThroughFileSystem::TryReadFile(p, out);
  }

 private:
  std::vector<std::string> unreadable_;
};

TEST_F(SettingsTest, ExistingFileThatCannotBeReadIsNeverWrittenOver) {
  const std::string old = "[LAST]\r\nRTL=/old\r\n[Mine]\r\nA=1\r\n";
  WriteBytes(file_, old);
  UnreadableFiles disk({file_.string()});
  ScopedFileSystem scoped(disk);
  LoadSettings();  // nothing can be read: the defaults
  EXPECT_EQ(RtlPath, "");
  RtlPath = "/new";
  FakeWindow window("dlgMain");
  const struct {
    const char* what;
    std::function<void()> save;
  } rows[] = {{"SaveSettings", [] { SaveSettings(); }},
              {"SaveWindowPlacement", [&] { SaveWindowPlacement(window); }}};
  for (const auto& row : rows) {
    try {
      row.save();
      ADD_FAILURE() << row.what << ": no error";
    } catch (const IoError& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + file_.string()) << row.what;
    }
    EXPECT_EQ(ReadBytes(file_), old) << row.what;
  }
}

TEST_F(SettingsTest, FirstSaveCreatesTheConfigurationFolder) {
  fs::path nested = dir_ / "config" / "ravelin" / "ravelin.INI";
  SetSettingsFileName(nested.string());
  SaveSettings();
  EXPECT_TRUE(fs::is_regular_file(nested));
}

TEST_F(SettingsTest, RelativeSettingsNameIsFixedWhenSet) {
  {
    testing::ScopedCurrentFolder here(dir_);
    SetSettingsFileName("sub.INI");
  }
  EXPECT_EQ(SettingsFileName(), (dir_ / "sub.INI").string());
}

TEST_F(SettingsTest, PlacementAppliesStoredValuesInOrderAsRead) {
  WriteBytes(file_, "[DLGMAIN]\r\nWidth=0x40\r\nTop=0x40\r\nLeft=-5000\r\nHeight=junk\r\n");
  FakeWindow window("dlgMain");
  LoadWindowPlacement(window);
  EXPECT_EQ(window.top, 64);
  EXPECT_EQ(window.left, -5000);  // off the screen, applied unchanged
  EXPECT_EQ(window.height, 282);  // not a number: the current height stays
  EXPECT_EQ(window.width, 64);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"Top", "Left", "Height", "Width"}));
}

TEST_F(SettingsTest, PlacementWithoutSectionKeepsTheWindowWhereItIs) {
  WriteBytes(file_, "[LAST]\r\nTop=1\r\n");
  FakeWindow window("dlgDefaults");
  LoadWindowPlacement(window);
  EXPECT_EQ(window.top, 204);
  EXPECT_EQ(window.left, 312);
  EXPECT_EQ(window.height, 282);
  EXPECT_EQ(window.width, 463);
}

TEST_F(SettingsTest, SavedPlacementUpdatesItsSectionOnly) {
  WriteBytes(file_, "[dlgDefaults]\r\nWidth=1\r\nTop=2\r\n[LAST]\r\nViewer=1\r\n");
  FakeWindow window("dlgDefaults");
  window.top = -10;
  SaveWindowPlacement(window);
  EXPECT_EQ(ReadBytes(file_),
            "[dlgDefaults]\r\nWidth=463\r\nTop=-10\r\nLeft=312\r\nHeight=282\r\n"
            "[LAST]\r\nViewer=1\r\n");
}

// Where the settings file lives.

TEST(SettingsLocation, BesideTheExecutableWithIniExtension) {
  const struct {
    const char* exe;
    const char* expected;
  } rows[] = {
      {"/opt/ravelin/bin/ravelin", "/opt/ravelin/bin/ravelin.INI"},
      {"/opt/bin/ravelin.exe", "/opt/bin/ravelin.INI"},
      {"/opt/v1.2/ravelin", "/opt/v1.2/ravelin.INI"},
  };
  for (const auto& row : rows) EXPECT_EQ(ExeSettingsFileName(row.exe), row.expected) << row.exe;
}

TEST(SettingsLocation, UserFileUnderTheConfigurationFolder) {
  const struct {
    const char* xdg;
    const char* home;
    const char* expected;
  } rows[] = {
      {"/cfg", "/home/u", "/cfg/ravelin/ravelin.INI"},
      {"/cfg/", "/home/u", "/cfg/ravelin/ravelin.INI"},
      {"", "/home/u", "/home/u/.config/ravelin/ravelin.INI"},
      {"relative/cfg", "/home/u", "/home/u/.config/ravelin/ravelin.INI"},
      {"", "", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(UserSettingsFileName(row.xdg, row.home), row.expected) << row.xdg << "|" << row.home;
  }
}

TEST(SettingsLocation, ExecutableFolderWinsWhenTheFileExistsOrCanBeMade) {
  const struct {
    const char* name;
    bool exists;
    bool writable;
    const char* user;
    const char* expected;
  } rows[] = {
      {"writable folder", false, true, "/u/r.INI", "/x/r.INI"},
      {"file exists in read-only folder", true, false, "/u/r.INI", "/x/r.INI"},
      {"neither", false, false, "/u/r.INI", "/u/r.INI"},
      {"neither and no user folder", false, false, "", "/x/r.INI"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ChooseSettingsFileName("/x/r.INI", row.exists, row.writable, row.user), row.expected)
        << row.name;
  }
  EXPECT_EQ(ChooseSettingsFileName("", false, false, "/u/r.INI"), "/u/r.INI");
}

TEST_F(SettingsTest, DefaultFileFollowsTheDiskAndTheEnvironment) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  std::string savedXdg = oldXdg ? oldXdg : "";
  ::setenv("XDG_CONFIG_HOME", (dir_ / "cfg").c_str(), 1);
  fs::create_directory(dir_ / "bin");
  std::string exe = (dir_ / "bin" / "ravelin").string();
  EXPECT_EQ(DefaultSettingsFileName(exe), exe + ".INI");
  if (::geteuid() != 0) {
    fs::permissions(dir_ / "bin", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(DefaultSettingsFileName(exe), (dir_ / "cfg" / "ravelin" / "ravelin.INI").string());
    fs::permissions(dir_ / "bin", fs::perms::owner_all);
  }
  std::string missingFolderExe = (dir_ / "gone" / "ravelin").string();
  EXPECT_EQ(DefaultSettingsFileName(missingFolderExe),
            (dir_ / "cfg" / "ravelin" / "ravelin.INI").string());
  WriteBytes(dir_ / "bin" / "ravelin.ini", "");  // found ignoring case
  Fs().ClearCache();
  if (::geteuid() != 0) {
    fs::permissions(dir_ / "bin", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(DefaultSettingsFileName(exe), exe + ".INI");
    fs::permissions(dir_ / "bin", fs::perms::owner_all);
  }
  if (oldXdg) {
    ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
}

TEST_F(SettingsTest, FolderIsWritableOnlyForWritableFolders) {
  WriteBytes(dir_ / "file", "x");
  EXPECT_TRUE(FolderIsWritable(dir_.string()));
  EXPECT_FALSE(FolderIsWritable((dir_ / "file").string()));
  EXPECT_FALSE(FolderIsWritable((dir_ / "missing").string()));
  EXPECT_FALSE(FolderIsWritable(""));
}

TEST(ExecutablePath, NamesTheRunningTestProgram) {
  std::string path = ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_TRUE(std::filesystem::is_regular_file(path));
  EXPECT_NE(path.find("test_settings"), std::string::npos);
}

}  // namespace
}  // namespace ravelin
