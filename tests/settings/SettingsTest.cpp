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
#include <tuple>
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
  ViewerPath = RtlPath = VclPath = SearchPaths = "";
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
struct FakeWindow : TWindowPlacement {
  explicit FakeWindow(std::string section) : section(std::move(section)) {}
  std::string SectionName() const override { return section; }
  int Top() const override { return top; }
  void SetTop(int value) override { top = value, calls += "Top "; }
  int Left() const override { return left; }
  void SetLeft(int value) override { left = value, calls += "Left "; }
  int Height() const override { return height; }
  void SetHeight(int value) override { height = value, calls += "Height "; }
  int Width() const override { return width; }
  void SetWidth(int value) override { width = value, calls += "Width "; }
  std::string section, calls;
  int top = 204, left = 312, height = 282, width = 463;
};

TEST_F(SettingsTest, FirstRunWithoutFileGivesDefaultsAndCancelCreatesTheFile) {
  ViewerChoice = 2, RtlPath = "stale", UseVcl = true;
  LoadSettings();
  EXPECT_EQ(ViewerChoice, 0);
  EXPECT_EQ(RtlPath, "");
  EXPECT_FALSE(UseVcl);
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
  ViewerChoice = 1, RtlPath = "/opt/rtl/", VclPath = "/opt/vcl/";
  ViewerPath = "/usr/bin/less", SearchPaths = "/a;/b c;", UseRtl = UseSearchPath = true;
  const std::string saved =
      "[LAST]\r\nViewer=1\r\nRTL=/opt/rtl/\r\nSearch Paths=/a;/b c;\r\n"
      "Viewer Path=/usr/bin/less\r\nVCL=/opt/vcl/\r\nUse RTL=1\r\nUse Search Path=1\r\nUse "
      "VCL=0\r\n";
  SaveSettings();
  EXPECT_EQ(ReadBytes(file_), saved);
  ResetSettings();
  LoadSettings();
  fs::remove(file_);
  SaveSettings();  // everything read back: the same file again
  EXPECT_EQ(ReadBytes(file_), saved);
}

TEST_F(SettingsTest, StoredViewerAndSwitchValuesAreReadAndSavedNormalised) {
  // Viewer other than 0 or 1 is 2; a switch is on for any non-zero integer and saved as 1.
  const struct {
    const char* key;
    const char* stored;
    const char* saved;
  } rows[] = {
      {"Viewer", "0", "0"},    {"Viewer", "1", "1"},    {"Viewer", "2", "2"},
      {"Viewer", "7", "2"},    {"Viewer", "-1", "2"},   {"Viewer", "0x1", "1"},
      {"Viewer", "junk", "0"}, {"Viewer", "", "0"},     {"Use RTL", "5", "1"},
      {"Use RTL", "1", "1"},   {"Use RTL", "-3", "1"},  {"Use RTL", "0x10", "1"},
      {"Use RTL", "0", "0"},   {"Use RTL", "yes", "0"}, {"Use RTL", "true", "0"},
      {"Use RTL", "", "0"},
  };
  for (const auto& row : rows) {
    WriteBytes(file_, std::string("[LAST]\r\n") + row.key + "=" + row.stored + "\r\n");
    LoadSettings();
    int loaded = std::string(row.key) == "Viewer" ? ViewerChoice : UseRtl;
    EXPECT_EQ(loaded, std::atoi(row.saved)) << row.key << "=" << row.stored;
    SaveSettings();
    EXPECT_NE(ReadBytes(file_).find("\r\n" + std::string(row.key) + "=" + row.saved + "\r\n"),
              std::string::npos)
        << row.key << "=" << row.stored;
  }
  ViewerChoice = 9;  // set in memory beyond the three choices
  SaveSettings();
  EXPECT_NE(ReadBytes(file_).find("\r\nViewer=2\r\n"), std::string::npos);
}

TEST_F(SettingsTest, ReadsOddlyShapedFilesWithoutFault) {
  const struct {
    const char* name;
    std::string text;
    std::string rtl;
    bool useVcl;
  } rows[] = {
      {"CR only", "[LAST]\rRTL=/r\rUse VCL=1\r", "/r", true},
      {"LF only", "[LAST]\nRTL=/r\nUse VCL=1\n", "/r", true},
      {"garbage", "\x01\x02garbage\r\n[LAST]\r\n===\r\n]\r\nRTL=/r\r\nUse VCL=on\r\n", "/r", false},
      {"missing section", "[Other]\r\nRTL=/r\r\nUse VCL=1\r\n", "", false},
      {"binary junk", std::string("\0\xff[LAST\0]\n=\r", 12), "", false},
      {"5,000 characters", "[LAST]\r\nRTL=" + std::string(5000, 'p') + "\r\nUse VCL=1\r\n",
       std::string(2047, 'p'), true},
      {"byte order mark", "\xEF\xBB\xBF[LAST]\r\nRTL=/r\r\nUse VCL=1\r\n", "/r", true},
      {"first section counts", "[LAST]\nRTL=/r\n[X]\nUse VCL=1\n[LAST]\nUse VCL=1\n", "/r", false},
  };
  for (const auto& row : rows) {
    WriteBytes(file_, row.text);
    SearchPaths = "/changed in memory";
    LoadSettings();
    EXPECT_EQ(RtlPath, row.rtl) << row.name;
    EXPECT_EQ(UseVcl, row.useVcl) << row.name;
    EXPECT_EQ(SearchPaths, "") << row.name;
  }
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

/// The message of the IoError that save throws; "no error" when it throws none.
std::string SaveError(const std::function<void()>& save) {
  try {
    save();
  } catch (const IoError& e) {
    return e.what();
  }
  return "no error";
}

TEST_F(SettingsTest, FailedSaveThrowsAndLeavesTheOldFileWhole) {
  // The settings file's folder is a file: nothing can be written there.
  WriteBytes(dir_ / "blocker", "not a folder");
  std::string name = (dir_ / "blocker" / "ravelin.INI").string();
  SetSettingsFileName(name);
  FakeWindow window("dlgMain");
  const std::string message = "Unable to write to " + name + ": Not a directory";
  EXPECT_EQ(SaveError(SaveSettings), message);
  EXPECT_EQ(SaveError([&] { SaveWindowPlacement(window); }), message);
  EXPECT_EQ(ReadBytes(dir_ / "blocker"), "not a folder");
}

TEST_F(SettingsTest, FailedSaveInReadOnlyFolderKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write into read-only folders";
  const std::string old = "[LAST]\r\nRTL=/old\r\n[Mine]\r\nA=1\r\n";
  WriteBytes(file_, old);
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  RtlPath = "/new";
  EXPECT_EQ(SaveError(SaveSettings),
            "Unable to write to " + file_.string() + ": Permission denied");
  fs::permissions(dir_, fs::perms::owner_all);
  EXPECT_EQ(ReadBytes(file_), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

/// The disk, except that one file cannot be opened (as without read permission, which the
/// superuser running the tests would not feel).
struct UnreadableFile : testing::PassThroughFileSystem {
  explicit UnreadableFile(std::string name) : name(std::move(name)) {}
  OpenedFile OpenRead(std::string_view p, Readable what) override {
    if (p == name) return {nullptr, "Permission denied"};
    return PassThroughFileSystem::OpenRead(p, what);
  }
  std::string name;
};

TEST_F(SettingsTest, ExistingFileThatCannotBeReadIsNeverWrittenOver) {
  const std::string old = "[LAST]\r\nRTL=/old\r\n[Mine]\r\nA=1\r\n";
  WriteBytes(file_, old);
  UnreadableFile disk(file_.string());
  ScopedFileSystem scoped(disk);
  LoadSettings();  // nothing can be read: the defaults
  EXPECT_EQ(RtlPath, "");
  RtlPath = "/new";
  FakeWindow window("dlgMain");
  const std::string message = "Unable to write to " + file_.string() + ": Permission denied";
  EXPECT_EQ(SaveError(SaveSettings), message);
  EXPECT_EQ(SaveError([&] { SaveWindowPlacement(window); }), message);
  EXPECT_EQ(ReadBytes(file_), old);
}

TEST_F(SettingsTest, RelativeNameIsFixedWhenSetAndFirstSaveCreatesItsFolder) {
  {
    testing::ScopedCurrentFolder here(dir_);
    SetSettingsFileName("config/ravelin/ravelin.INI");
  }
  EXPECT_EQ(SettingsFileName(), (dir_ / "config/ravelin/ravelin.INI").string());
  SaveSettings();
  EXPECT_TRUE(fs::is_regular_file(dir_ / "config/ravelin/ravelin.INI"));
}

TEST_F(SettingsTest, PlacementAppliesStoredValuesInOrderAsRead) {
  WriteBytes(file_, "[DLGMAIN]\r\nWidth=0x40\r\nTop=0x40\r\nLeft=-5000\r\nHeight=junk\r\n");
  FakeWindow window("dlgMain");
  LoadWindowPlacement(window);
  EXPECT_EQ(window.top, 64);
  EXPECT_EQ(window.left, -5000);  // off the screen, applied unchanged
  EXPECT_EQ(window.height, 282);  // not a number: the current height stays
  EXPECT_EQ(window.width, 64);
  EXPECT_EQ(window.calls, "Top Left Height Width ");
  FakeWindow other("dlgDefaults");  // no section: the window stays where it is
  LoadWindowPlacement(other);
  EXPECT_EQ(std::tie(other.top, other.left, other.height, other.width),
            std::make_tuple(204, 312, 282, 463));
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

TEST(SettingsLocation, BesideTheExecutableOrUnderTheConfigurationFolder) {
  EXPECT_EQ(ExeSettingsFileName("/opt/ravelin/bin/ravelin"), "/opt/ravelin/bin/ravelin.INI");
  EXPECT_EQ(ExeSettingsFileName("/opt/bin/ravelin.exe"), "/opt/bin/ravelin.INI");
  EXPECT_EQ(ExeSettingsFileName("/opt/v1.2/ravelin"), "/opt/v1.2/ravelin.INI");
  const struct {
    const char *xdg, *home, *expected;
  } users[] = {{"/cfg", "/home/u", "/cfg/ravelin/ravelin.INI"},
               {"/cfg/", "/home/u", "/cfg/ravelin/ravelin.INI"},
               {"", "/home/u", "/home/u/.config/ravelin/ravelin.INI"},
               {"relative/cfg", "/home/u", "/home/u/.config/ravelin/ravelin.INI"},
               {"", "", ""}};
  for (const auto& row : users)
    EXPECT_EQ(UserSettingsFileName(row.xdg, row.home), row.expected) << row.xdg << "|" << row.home;
  // The executable's folder wins when the file exists there or can be made.
  const struct {
    const char* exe;
    bool exists, writable;
    const char *user, *expected;
  } choices[] = {{"/x/r.INI", false, true, "/u/r.INI", "/x/r.INI"},
                 {"/x/r.INI", true, false, "/u/r.INI", "/x/r.INI"},
                 {"/x/r.INI", false, false, "/u/r.INI", "/u/r.INI"},
                 {"/x/r.INI", false, false, "", "/x/r.INI"},
                 {"", false, false, "/u/r.INI", "/u/r.INI"}};
  for (const auto& row : choices)
    EXPECT_EQ(ChooseSettingsFileName(row.exe, row.exists, row.writable, row.user), row.expected)
        << row.exe << " " << row.exists << row.writable << " " << row.user;
}

TEST_F(SettingsTest, DefaultFileFollowsTheDiskAndTheEnvironment) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  std::optional<std::string> savedXdg = old ? std::optional<std::string>(old) : std::nullopt;
  ::setenv("XDG_CONFIG_HOME", (dir_ / "cfg").c_str(), 1);
  const std::string exe = (dir_ / "bin" / "ravelin").string();
  const std::string user = (dir_ / "cfg" / "ravelin" / "ravelin.INI").string();
  fs::create_directory(dir_ / "bin");
  // With the executable's folder read-only (which the superuser would not feel).
  auto inReadOnlyBin = [&](const std::string& expected) {
    if (::geteuid() == 0) return;
    fs::permissions(dir_ / "bin", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(DefaultSettingsFileName(exe), expected);
    fs::permissions(dir_ / "bin", fs::perms::owner_all);
  };
  EXPECT_EQ(DefaultSettingsFileName(exe), exe + ".INI");
  inReadOnlyBin(user);
  EXPECT_EQ(DefaultSettingsFileName((dir_ / "gone" / "ravelin").string()), user);
  WriteBytes(dir_ / "bin" / "ravelin.ini", "");  // found ignoring case
  Fs().ClearCache();
  inReadOnlyBin(exe + ".INI");
  savedXdg ? ::setenv("XDG_CONFIG_HOME", savedXdg->c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(SettingsTest, FolderIsWritableOnlyForWritableFoldersAndTheProgramKnowsItsPath) {
  WriteBytes(dir_ / "file", "x");
  EXPECT_TRUE(FolderIsWritable(dir_.string()));
  for (std::string no : {(dir_ / "file").string(), (dir_ / "missing").string(), std::string()})
    EXPECT_FALSE(FolderIsWritable(no)) << no;
  std::string path = ExecutablePath();
  EXPECT_TRUE(path.starts_with('/') && fs::is_regular_file(path)) << path;
  EXPECT_NE(path.find("test_settings"), std::string::npos);
}

}  // namespace
}  // namespace ravelin
