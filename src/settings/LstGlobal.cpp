#include "settings/LstGlobal.h"

#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/ExePath.h"
#include "platform/FileSys.h"
#include "settings/IniFile.h"

namespace ravelin {

int ViewerChoice = 0;
std::string ViewerPath;
std::string RtlPath;
std::string VclPath;
std::string SearchPaths;
bool UseRtl = false;
bool UseVcl = false;
bool UseSearchPath = false;
const std::string DefaultReportName = "Ravelin.TXT";

namespace {

constexpr std::string_view kLast = "LAST";

// The settings file named by SetSettingsFileName; empty for the default one.
std::string& SettingsFileOverride() {
  static std::string name;
  return name;
}

// The settings file as it stands on disk. A file that exists but cannot be read (no read
// permission, a read error) is not written over: its other sections would be lost.
TIniFile LoadIniForUpdate() {
  TIniFile ini(SettingsFileName());
  std::string text;
  std::string whyNot;
  bool read = false;
  try {
    read = Fs().TryReadFile(ini.FileName(), text, &whyNot);
  } catch (const IoError& e) {
    throw UnableToWrite(ini.FileName(), e.Reason());
  }
  if (!read && Fs().Stat(ini.FileName()).exists) throw UnableToWrite(ini.FileName(), whyNot);
  ini.SetText(text);
  return ini;
}

}  // namespace

std::string ExeSettingsFileName(const std::string& exePath) {
  return ChangeExtension(exePath, ".INI");
}

std::string UserSettingsFileName(const std::string& xdgConfigHome, const std::string& home) {
  // A relative configuration folder is no folder at all for this purpose.
  if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') {
    return JoinPath(JoinPath(xdgConfigHome, "ravelin"), "ravelin.INI");
  }
  if (home.empty()) return {};
  return JoinPath(JoinPath(JoinPath(home, ".config"), "ravelin"), "ravelin.INI");
}

std::string ChooseSettingsFileName(const std::string& exeFileName, bool exeFileExists,
                                   bool exeFolderWritable, const std::string& userFileName) {
  if (!exeFileName.empty() && (exeFileExists || exeFolderWritable)) return exeFileName;
  if (!userFileName.empty()) return userFileName;
  return exeFileName;
}

std::string DefaultSettingsFileName(const std::string& exePath) {
  std::string beside = exePath.empty() ? std::string() : ExeSettingsFileName(exePath);
  std::string user =
      UserSettingsFileName(EnvironmentValue("XDG_CONFIG_HOME"), EnvironmentValue("HOME"));
  bool exists = !beside.empty() && Fs().FileExists(beside);
  bool writable = !beside.empty() && FolderIsWritable(FolderPart(beside));
  return ChooseSettingsFileName(beside, exists, writable, user);
}

std::string SettingsFileName() {
  const std::string& name = SettingsFileOverride();
  if (!name.empty()) return name;
  return DefaultSettingsFileName(ExecutablePath());
}

void SetSettingsFileName(const std::string& name) {
  // A relative name is fixed against the folder current now: later commands move it.
  SettingsFileOverride() = name.empty() ? std::string() : Fs().FullPath(name);
}

std::string LoadSettings() {
  TIniFile ini(SettingsFileName());
  const TIniRead read =
      ini.LoadSection(kLast, {"Viewer", "RTL", "VCL", "Viewer Path", "Search Paths", "Use RTL",
                              "Use Search Path", "Use VCL"});
  std::int32_t viewer = ini.ReadInteger(kLast, "Viewer", 0);
  ViewerChoice = (viewer == 0 || viewer == 1) ? viewer : 2;
  RtlPath = ini.ReadString(kLast, "RTL", "");
  VclPath = ini.ReadString(kLast, "VCL", "");
  ViewerPath = ini.ReadString(kLast, "Viewer Path", "");
  SearchPaths = ini.ReadString(kLast, "Search Paths", "");
  UseRtl = ini.ReadBool(kLast, "Use RTL", false);
  UseSearchPath = ini.ReadBool(kLast, "Use Search Path", false);
  UseVcl = ini.ReadBool(kLast, "Use VCL", false);
  return read.whyNot;
}

void SaveSettings() {
  TIniFile ini = LoadIniForUpdate();
  ini.WriteInteger(kLast, "Viewer", (ViewerChoice == 0 || ViewerChoice == 1) ? ViewerChoice : 2);
  ini.WriteString(kLast, "RTL", RtlPath);
  ini.WriteString(kLast, "Search Paths", SearchPaths);
  ini.WriteString(kLast, "Viewer Path", ViewerPath);
  ini.WriteString(kLast, "VCL", VclPath);
  ini.WriteBool(kLast, "Use RTL", UseRtl);
  ini.WriteBool(kLast, "Use Search Path", UseSearchPath);
  ini.WriteBool(kLast, "Use VCL", UseVcl);
  ini.Save();
}

void LoadWindowPlacement(TWindowPlacement& window) {
  TIniFile ini(SettingsFileName());
  const std::string section = window.SectionName();
  ini.LoadSection(section, {"Top", "Left", "Height", "Width"});
  window.SetTop(ini.ReadInteger(section, "Top", window.Top()));
  window.SetLeft(ini.ReadInteger(section, "Left", window.Left()));
  window.SetHeight(ini.ReadInteger(section, "Height", window.Height()));
  window.SetWidth(ini.ReadInteger(section, "Width", window.Width()));
}

void SaveWindowPlacement(TWindowPlacement& window) {
  TIniFile ini = LoadIniForUpdate();
  const std::string section = window.SectionName();
  ini.WriteInteger(section, "Top", window.Top());
  ini.WriteInteger(section, "Left", window.Left());
  ini.WriteInteger(section, "Height", window.Height());
  ini.WriteInteger(section, "Width", window.Width());
  ini.Save();
}

}  // namespace ravelin
