#include "settings/LstGlobal.h"

#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/ExePath.h"
#include "platform/FileSys.h"
#include "settings/IniFile.h"

namespace ravelin {

const std::string DefaultReportName = "Ravelin.TXT";

SettingsState& Settings() {
  static SettingsState state;
  return state;
}

namespace {

constexpr std::string_view kLast = "LAST";

// The settings file as it stands on disk. A file that exists but cannot be read (no read
// permission, a read error) is not written over: its other sections would be lost.
IniFile LoadIniForUpdate() {
  IniFile ini(SettingsFileName());
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
#ifdef _WIN32
  const std::string appData = ToSlashes(EnvironmentValue("APPDATA"));
  std::string user =
      appData.empty() ? std::string() : JoinPath(JoinPath(appData, "ravelin"), "ravelin.INI");
#else
  std::string user =
      UserSettingsFileName(EnvironmentValue("XDG_CONFIG_HOME"), EnvironmentValue("HOME"));
#endif
  bool exists = !beside.empty() && Fs().FileExists(beside);
  bool writable = !beside.empty() && FolderIsWritable(FolderPart(beside));
  return ChooseSettingsFileName(beside, exists, writable, user);
}

std::string SettingsFileName() {
  const std::string& name = Settings().FileName;
  if (!name.empty()) return name;
  return DefaultSettingsFileName(ExecutablePath());
}

void SetSettingsFileName(const std::string& name) {
  // A relative name is fixed against the folder current now: later commands move it.
  Settings().FileName = name.empty() ? std::string() : Fs().FullPath(name);
}

std::string LoadSettings() {
  IniFile ini(SettingsFileName());
  const IniRead read =
      ini.LoadSection(kLast, {"Viewer", "RTL", "VCL", "Viewer Path", "Search Paths", "Use RTL",
                              "Use Search Path", "Use VCL"});
  SettingsState& s = Settings();
  std::int32_t viewer = ini.ReadInteger(kLast, "Viewer", 0);
  s.ViewerChoice = (viewer == 0 || viewer == 1) ? viewer : 2;
  s.RtlPath = ini.ReadString(kLast, "RTL", "");
  s.VclPath = ini.ReadString(kLast, "VCL", "");
  s.ViewerPath = ini.ReadString(kLast, "Viewer Path", "");
  s.SearchPaths = ini.ReadString(kLast, "Search Paths", "");
  s.UseRtl = ini.ReadBool(kLast, "Use RTL", false);
  s.UseSearchPath = ini.ReadBool(kLast, "Use Search Path", false);
  s.UseVcl = ini.ReadBool(kLast, "Use VCL", false);
  return read.whyNot;
}

void SaveSettings() {
  IniFile ini = LoadIniForUpdate();
  const SettingsState& s = Settings();
  ini.WriteInteger(kLast, "Viewer",
                   (s.ViewerChoice == 0 || s.ViewerChoice == 1) ? s.ViewerChoice : 2);
  ini.WriteString(kLast, "RTL", s.RtlPath);
  ini.WriteString(kLast, "Search Paths", s.SearchPaths);
  ini.WriteString(kLast, "Viewer Path", s.ViewerPath);
  ini.WriteString(kLast, "VCL", s.VclPath);
  ini.WriteBool(kLast, "Use RTL", s.UseRtl);
  ini.WriteBool(kLast, "Use Search Path", s.UseSearchPath);
  ini.WriteBool(kLast, "Use VCL", s.UseVcl);
  ini.Save();
}

void LoadWindowPlacement(WindowPlacement& window) {
  IniFile ini(SettingsFileName());
  const std::string section = window.SectionName();
  ini.LoadSection(section, {"Top", "Left", "Height", "Width"});
  window.SetTop(ini.ReadInteger(section, "Top", window.Top()));
  window.SetLeft(ini.ReadInteger(section, "Left", window.Left()));
  window.SetHeight(ini.ReadInteger(section, "Height", window.Height()));
  window.SetWidth(ini.ReadInteger(section, "Width", window.Width()));
}

void SaveWindowPlacement(WindowPlacement& window) {
  IniFile ini = LoadIniForUpdate();
  const std::string section = window.SectionName();
  ini.WriteInteger(section, "Top", window.Top());
  ini.WriteInteger(section, "Left", window.Left());
  ini.WriteInteger(section, "Height", window.Height());
  ini.WriteInteger(section, "Width", window.Width());
  ini.Save();
}

}  // namespace ravelin
