// The INI file, the settings variables and their file, window placement and where the file
// lives; the cases are the table tests/data/settings/ini.txt.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "DataTable.h"
#include "PassThroughFileSystem.h"
#include "common/Error.h"
#include "common/VornString.h"
#include "platform/ExePath.h"
#include "platform/FileSys.h"
#include "settings/IniFile.h"
#include "settings/LstGlobal.h"

namespace ravelin {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;
using testing::ReadBytes;
using testing::WriteBytes;

/// The settings variables as "Viewer|RTL|VCL|Viewer Path|Search Paths|Use RTL|Use VCL|Use
/// Search Path".
std::string Variables() {
  auto b = [](bool v) { return std::string(v ? "1" : "0"); };
  const SettingsState& s = Settings();
  return std::to_string(s.ViewerChoice) + "|" + s.RtlPath + "|" + s.VclPath + "|" + s.ViewerPath +
         "|" + s.SearchPaths + "|" + b(s.UseRtl) + "|" + b(s.UseVcl) + "|" + b(s.UseSearchPath);
}

void SetVariables(std::string text) {
  SettingsState& s = Settings();
  s.ViewerChoice = std::stoi(SplitFirst(text, "|"));
  for (std::string* v : {&s.RtlPath, &s.VclPath, &s.ViewerPath, &s.SearchPaths})
    *v = SplitFirst(text, "|");
  for (bool* v : {&s.UseRtl, &s.UseVcl, &s.UseSearchPath}) *v = SplitFirst(text, "|") == "1";
}

// A window that records the order in which its placement is set.
struct FakeWindow : WindowPlacement {
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

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSettingsFileName(file_); }
  void TearDown() override {
    SetSettingsFileName("");
    SetVariables("0|||||0|0|0");
  }
  /// The settings file holding text ("none": no file).
  void Store(const std::string& text) {
    fs::remove(file_);
    if (text != "none") WriteBytes(file_, text);
  }
  /// The message of the IoError that f throws; "no error" when it throws none.
  static std::string ErrorOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const IoError& e) {
      return e.what();
    }
    return "no error";
  }

  testing::TempFolder folder_{"ravelin-settings-XXXXXX"};
  std::string file_ = folder_ / "ravelin.INI";
};

TEST_F(SettingsTest, GiveTheResultsOfTheTable) {
  auto ini = [](const std::string& text) {
    IniFile file("/nowhere/test.INI");
    file.SetText(text);
    return file;
  };
  auto written = [&](const Args& a, auto write) {
    IniFile file = ini(a[0]);
    write(file);
    return file.Text();
  };
  testing::CheckRoutineTable(
      "settings/ini.txt",
      {
          {"ParseIniInteger",
           [](const Args& a) {
             auto value = ParseIniInteger(a[0]);
             return value ? std::to_string(*value) : "none";
           }},
          {"ReadString",
           [&](const Args& a) { return ini(a[0]).ReadString(a[1], a[2], "<default>"); }},
          {"ReadInteger",
           [&](const Args& a) {
             return std::to_string(ini(a[0]).ReadInteger(a[1], a[2], std::stoi(a[3])));
           }},
          {"ReadBool",
           [&](const Args& a) {
             return std::to_string(ini(a[0]).ReadBool(a[1], a[2], a[3] == "1"));
           }},
          {"WriteString",
           [&](const Args& a) {
             return written(a, [&](IniFile& f) { f.WriteString(a[1], a[2], a[3]); });
           }},
          {"WriteInteger",
           [&](const Args& a) {
             return written(a, [&](IniFile& f) { f.WriteInteger(a[1], a[2], std::stoi(a[3])); });
           }},
          {"WriteBool",
           [&](const Args& a) {
             return written(a, [&](IniFile& f) { f.WriteBool(a[1], a[2], a[3] == "1"); });
           }},
          {"Load",
           [&](const Args& a) {
             Store(a[0]);
             SetVariables("5|stale|stale|stale|stale|1|1|1");
             LoadSettings();
             return Variables();
           }},
          {"Save",  // "blocked": the file's folder is a file; "unreadable": it cannot be read
           [&](const Args& a) {
             const bool blocked = a[0] == "blocked", unreadable = a[0] == "unreadable";
             Store(blocked || unreadable ? "[LAST]\r\nRTL=/old\r\n[Mine]\r\nA=1\r\n" : a[0]);
             if (blocked) SetSettingsFileName(file_ + "/x.INI");
             UnreadableFile disk(file_);
             std::optional<ScopedFileSystem> scoped;
             if (unreadable) scoped.emplace(disk);
             SetVariables(a[1]);
             FakeWindow window("dlgMain");
             const std::string error = ErrorOf(
                 a[2] == "placement" ? std::function<void()>([&] { SaveWindowPlacement(window); })
                                     : SaveSettings);
             SetSettingsFileName(file_);
             if (error != "no error")
               return ReplaceAll(error, file_, "<file>") + "|" + ReadBytes(file_);
             const std::string saved = ReadBytes(file_);
             LoadSettings();  // what was saved reads back as the same variables
             EXPECT_EQ(Variables(), a[1].substr(0, 1) == "9" ? "2" + a[1].substr(1) : a[1]);
             return saved;
           }},
          {"Placement",  // the stored values applied in order, then the window's place saved
           [&](const Args& a) {
             Store(a[0]);
             FakeWindow window(a[1]);
             LoadWindowPlacement(window);
             const std::string read =
                 window.calls + std::to_string(window.top) + " " + std::to_string(window.left) +
                 " " + std::to_string(window.height) + " " + std::to_string(window.width);
             window.top = -10;
             SaveWindowPlacement(window);
             return read + "|" + ReadBytes(file_);
           }},
          {"ExeSettingsFileName", [](const Args& a) { return ExeSettingsFileName(a[0]); }},
          {"UserSettingsFileName", [](const Args& a) { return UserSettingsFileName(a[0], a[1]); }},
          {"ChooseSettingsFileName",
           [](const Args& a) {
             return ChooseSettingsFileName(a[0], a[1] == "1", a[2] == "1", a[3]);
           }},
      });
}

TEST_F(SettingsTest, RelativeNameIsFixedWhenSetAndTheFirstSaveMakesItsFolder) {
  {
    testing::ScopedCurrentFolder here(folder_.Path());
    SetSettingsFileName("config/ravelin/ravelin.INI");
  }
  EXPECT_EQ(SettingsFileName(), folder_ / "config/ravelin/ravelin.INI");
  SaveSettings();
  EXPECT_TRUE(fs::is_regular_file(folder_ / "config/ravelin/ravelin.INI"));
}

#ifndef _WIN32
// POSIX environment and permissions; the Windows build's location is %APPDATA%.
TEST_F(SettingsTest, DefaultFileFollowsTheDiskAndTheEnvironment) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string savedXdg = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", (folder_ / "cfg").c_str(), 1);
  const std::string exe = folder_ / "bin/ravelin";
  const std::string user = folder_ / "cfg/ravelin/ravelin.INI";
  folder_.MakeFolder("bin");
  auto readOnlyBin = [&](const std::string& expected) {
    if (::geteuid() == 0) return;  // the superuser would not feel it
    fs::permissions(folder_ / "bin", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(DefaultSettingsFileName(exe), expected);
    fs::permissions(folder_ / "bin", fs::perms::owner_all);
  };
  EXPECT_EQ(DefaultSettingsFileName(exe), exe + ".INI");
  readOnlyBin(user);
  EXPECT_EQ(DefaultSettingsFileName(folder_ / "gone/ravelin"), user);
  WriteBytes(folder_ / "bin/ravelin.ini", "");  // found ignoring case
  Fs().ClearCache();
  readOnlyBin(exe + ".INI");
  old ? ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_TRUE(FolderIsWritable(folder_.Path()));
  for (std::string no : {folder_ / "bin/ravelin.ini", folder_ / "missing", std::string()})
    EXPECT_FALSE(FolderIsWritable(no)) << no;
  EXPECT_NE(ExecutablePath().find("/test_settings"), std::string::npos);
}
#endif

}  // namespace
}  // namespace ravelin
