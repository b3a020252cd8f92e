// ravelin-cli's unit commands: list, tree, depend and report. Each runs from the state the
// window has right after start: the settings are read from the settings file (or the one named
// with --settings), the command-line folders override them, the unit analysis starts from ROOT
// with ROOT's folder as the current folder, and the finished report is delivered as a whole.
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "common/VornString.h"
#include "linecount/LCntEngn.h"
#include "platform/ExePath.h"
#include "platform/FileSys.h"
#include "settings/LstGlobal.h"
#include "units/UnitDpnd.h"
#include "units/UnitTree.h"

namespace ravelin {
namespace cli {

namespace {

/// Which report a unit command writes.
enum class UnitReport { List, Tree, Depend, All };

/// Puts the current folder and the settings file name back when a command ends, so that
/// relative names given on the command line (--report) mean what they meant at the start.
class CommandScope {
 public:
  CommandScope() : folder_(Fs().CurrentFolder()) {}
  ~CommandScope() {
    SetSettingsFileName("");
    try {
      Fs().SetCurrentFolder(folder_);
    } catch (const Error&) {
      // The start folder is gone; the report name was fixed before it was needed.
    }
  }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;

 private:
  std::string folder_;
};

/// A folder option as the options dialog stores a folder: a full path ending in "/".
std::string FolderSetting(const std::string& folder) {
  return JoinPath(Fs().FullPath(folder), "");
}

/// Each non-empty piece of a ";"-separated folder list made a full path.
std::string SearchPathsSetting(const std::string& paths) {
  std::string rest = paths;
  std::string result;
  while (!rest.empty()) {
    std::string piece = SplitFirst(rest, ";");
    if (piece.empty()) continue;
    if (!result.empty()) result += ";";
    result += Fs().FullPath(piece);
  }
  return result;
}

/// The settings file of the window program, which lives beside ravelin-cli.
std::string WindowSettingsFileName() {
  std::string exe = ExecutablePath();
  if (exe.empty()) return DefaultSettingsFileName("");
  return DefaultSettingsFileName(JoinPath(FolderPart(exe), "ravelin"));
}

/// Reads the search settings, then lets the command line override them. A settings file named
/// with --settings must be read; the window's own one may be missing, and when it exists but
/// cannot be read the run goes on with the defaults after a warning.
void LoadSearchSettings(const ParsedArgs& args, std::ostream& err) {
  if (args.Has("settings")) {
    std::string name = Fs().FullPath(args.Value("settings"));
    if (!Fs().Stat(name).exists) {
      throw IoError("Cannot open settings file \"" + name + "\": " + std::strerror(ENOENT));
    }
    SetSettingsFileName(name);
    if (std::string whyNot = LoadSettings(); !whyNot.empty())
      throw IoError("Cannot read settings file \"" + name + "\": " + whyNot, whyNot);
  } else {
    SetSettingsFileName(WindowSettingsFileName());
    if (std::string whyNot = LoadSettings(); !whyNot.empty()) {
      err << kProgramName << ": warning: cannot read settings file \"" << SettingsFileName()
          << "\": " << whyNot << "; the default settings are used\n";
    }
  }
  if (args.Has("rtl")) {
    RtlPath = FolderSetting(args.Value("rtl"));
    UseRtl = true;
  }
  if (args.Has("vcl")) {
    VclPath = FolderSetting(args.Value("vcl"));
    UseVcl = true;
  }
  if (args.Has("search")) {
    SearchPaths = SearchPathsSetting(args.Value("search"));
    UseSearchPath = true;
  }
}

/// The detailed line count over the unit file list, as the window's Line Count with "Reuse
/// List" checked makes it. The list is handed to the engine in memory: the report names the
/// list file "Tallion.Files" in the source folder, but that file is not written.
std::string UnitLineCountText(const std::string& sourceFolder) {
  TLcntEngine engine;
  engine.SetFileSpec(JoinPath(sourceFolder, "Tallion.Files"));
  engine.UseListFile = true;
  engine.Detailed = true;
  engine.ListText = JoinLinesCrLf(UnitFileNames());
  if (!engine.Execute()) throw GeneralError("The line count did not complete");
  return JoinLinesCrLf(engine.Lines);
}

int RunUnitCommand(UnitReport which, const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  if (args.operands.empty()) throw UsageError("no root file given");
  if (args.operands.size() > 1) throw UsageError("give exactly one root file");

  std::string reportFile;  // fixed against the start folder, before the folder changes
  if (args.Has("report")) reportFile = Fs().FullPath(args.Value("report"));
  std::string text;
  {
    CommandScope scope;
    Fs().ClearCache();
    ResetUnitAnalysisState();
    LastReportPath = "A:\\";  // the line counter's state at program start
    LoadSearchSettings(args, err);

    const std::string root = Fs().FullPath(args.operands[0]);
    FileStat stat = Fs().Stat(root);
    if (!stat.exists || stat.isDir) {
      throw IoError("Cannot open \"" + root +
                    "\": " + std::strerror(stat.exists ? EISDIR : ENOENT));
    }
    const std::string folder = FolderPart(root);
    Fs().SetCurrentFolder(folder);

    BuildUnitTree(root);
    if (which == UnitReport::List || which == UnitReport::All) WriteUnitListText(text);
    if (which == UnitReport::Tree || which == UnitReport::All) WriteUnitTreeChartText(text);
    if (which == UnitReport::Depend || which == UnitReport::All) {
      WriteDependencyTableText(root, text);
    }
    if (which == UnitReport::All) text += UnitLineCountText(folder);
  }
  DeliverText(text, reportFile, ReportStart::AtEnd, out);
  return 0;
}

int RunList(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  return RunUnitCommand(UnitReport::List, args, out, err);
}
int RunTree(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  return RunUnitCommand(UnitReport::Tree, args, out, err);
}
int RunDepend(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  return RunUnitCommand(UnitReport::Depend, args, out, err);
}
int RunReport(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  return RunUnitCommand(UnitReport::All, args, out, err);
}

const char* const kSearchHelp =
    "ROOT is a project file (.dpr) or a unit. Its folder becomes the current folder, and the\n"
    "units it uses, directly or through other units, are looked up in that folder, then in\n"
    "the search folders that are switched on: the further search paths, the class library\n"
    "folder and the runtime library folder, with one level of subfolders for the last two.\n"
    "A unit found nowhere is listed under its bare file name and not followed.\n"
    "\n"
    "The search folders come from the settings file that the desktop window keeps (ravelin.INI\n"
    "beside the program, or $XDG_CONFIG_HOME/ravelin/ravelin.INI, ~/.config/ravelin/ when\n"
    "unset), or from --settings FILE. --rtl, --vcl and --search replace the folder from the\n"
    "settings and switch its search on; relative folders mean the folder ravelin-cli was\n"
    "started in. When the window's settings file exists but cannot be read, a warning says so\n"
    "and the default settings are used.\n"
    "\n"
    "Only regular files are read as units; each report line ends in CR LF.\n"
    "\n"
    "Exit status: 0 success, 1 the run ended with an error (a root file or --settings file\n"
    "that cannot be read, a unit file that cannot be read or is no regular file, a report\n"
    "that cannot be written), 2 a usage error.";

std::vector<OptionSpec> UnitOptions() {
  return {
      {"settings", "FILE", "read the search folders from this settings file"},
      {"rtl", "DIR", "search DIR and its subfolders (runtime library sources)"},
      {"vcl", "DIR", "search DIR and its subfolders (class library sources)"},
      {"search", "\"DIR;DIR\"", "search these folders, separated by \";\""},
  };
}

CliCommand UnitCommand(const char* name, const char* summary, const char* what,
                       int (*run)(const ParsedArgs&, std::ostream&, std::ostream&)) {
  CliCommand command;
  command.name = name;
  command.synopsis =
      "[--settings FILE] [--rtl DIR] [--vcl DIR] [--search \"DIR;DIR\"] "
      "[--report FILE] ROOT";
  command.summary = summary;
  command.details = std::string(what) + "\n\n" + kSearchHelp;
  command.options = UnitOptions();
  command.run = run;
  return command;
}

}  // namespace

std::vector<CliCommand> UnitCommands() {
  return {
      UnitCommand("list", "list every unit file that a project or unit uses",
                  "Writes the unit file listing: one row per unit file that ROOT uses, directly\n"
                  "or through other units, with its size, time of last change and file name.",
                  RunList),
      UnitCommand("tree", "draw the \"uses\" relation of a project or unit as a tree chart",
                  "Writes the unit tree chart: the \"uses\" relation from ROOT as an indented\n"
                  "tree, units named in interface and implementation sections told apart.",
                  RunTree),
      UnitCommand("depend", "list which units use each unit of a project",
                  "Writes the unit dependency table: one numbered row per unit with the units\n"
                  "that use it, ROOT being the root.",
                  RunDepend),
      UnitCommand("report", "all unit reports and a line count of every unit file",
                  "Analyses ROOT once, then writes into one report the unit file listing, the\n"
                  "unit tree chart, the dependency table and the detailed line count of every\n"
                  "unit file found, as the desktop window's four commands give them in turn\n"
                  "with \"Reuse List\" checked. The line count names the list file Tallion.Files\n"
                  "in ROOT's folder but keeps the list in memory; a binary form file is counted\n"
                  "through the scratch file Tallion.TXT, which it leaves in ROOT's folder.",
                  RunReport),
  };
}

}  // namespace cli
}  // namespace ravelin
