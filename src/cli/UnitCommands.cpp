// ravelin-cli's unit commands: list, tree, depend and report. Each runs from the state the
// window has right after start: the settings are read from the settings file (or the one named
// with --settings), the command-line folders override them, the unit analysis starts from ROOT
// with ROOT's folder as the current folder, and the finished report is delivered as a whole.
#include "cli/UnitCommands.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "cli/CompilerOptions.h"
#include "cli/Formats.h"
#include "cli/GraphCommands.h"
#include "cli/OutputOptions.h"
#include "common/Error.h"
#include "common/MachineFormats.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "linecount/CountJson.h"
#include "linecount/LCntEngn.h"
#include "linecount/LCntReports.h"
#include "platform/ExePath.h"
#include "platform/FileSys.h"
#include "settings/LstGlobal.h"
#include "units/CompilerRules.h"
#include "units/ProjectFile.h"
#include "units/UnitJson.h"
#include "units/UnitLookup.h"
#include "units/UnitRecords.h"
#include "units/UnitScan.h"

namespace ravelin::cli {

namespace {

/// Puts the current folder and the settings back when a command ends, so that
/// relative names given on the command line (--report) mean what they meant at the start.
class CommandScope {
 public:
  CommandScope() : folder_(Fs().CurrentFolder()) {}
  ~CommandScope() {
    Settings() = {};
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

/// Each non-empty piece of a folder list separated by ";" or ":" made a full path, ";"-separated.
std::string SearchPathsSetting(const std::string& paths) {
#ifdef _WIN32
  std::string rest = paths;  // ":" belongs to drive names here; only ";" separates
#else
  std::string rest = ReplaceAll(paths, ":", ";");
#endif
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
  if (args.Has("no-settings")) {
    if (args.Has("settings")) throw UsageError("give either --settings FILE or --no-settings");
  } else if (args.Has("settings")) {
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
  SettingsState& settings = Settings();
  if (args.Has("rtl")) {
    settings.RtlPath = FolderSetting(args.Value("rtl"));
    settings.UseRtl = true;
  }
  if (args.Has("vcl")) {
    settings.VclPath = FolderSetting(args.Value("vcl"));
    settings.UseVcl = true;
  }
  if (args.Has("search")) {
    settings.SearchPaths = SearchPathsSetting(args.Value("search"));
    settings.UseSearchPath = true;
  }
}

/// Warns of every search folder switched on that does not exist; true when there is one.
bool WarnMissingSearchFolders(std::ostream& err) {
  const UnitLookup lookup = UnitLookup::FromSettings(Settings());
  std::vector<std::string> folders;
  if (lookup.useSearchPath) folders = lookup.searchPaths;
  if (lookup.useVcl) folders.push_back(lookup.vclPath);
  if (lookup.useRtl) folders.push_back(lookup.rtlPath);
  bool missing = false;
  for (const std::string& folder : folders) {
    if (folder.empty() || Fs().FolderExists(folder)) continue;
    err << kProgramName << ": warning: search folder \"" << folder << "\" not found\n";
    missing = true;
  }
  return missing;
}

/// Warns of every unit the analysis found no file for; true when there is one.
bool WarnUnresolvedUnits(const UnitAnalysisState& analysis, std::ostream& err) {
  bool unresolved = false;
  for (const UnitRecord& unit : MakeUnitRecords(analysis).units) {
    if (unit.found) continue;
    err << kProgramName << ": warning: unit \"" << unit.name << "\" not found (\"" << unit.entry
        << "\")\n";
    unresolved = true;
  }
  return unresolved;
}

const char* const kSearchHelp =
    "ROOT is a project file (.dpr) or a unit. Its folder becomes the current folder, and the\n"
    "units it uses, directly or through other units, are looked up in that folder, then in\n"
    "the search folders that are switched on: the further search paths, the class library\n"
    "folder and the runtime library folder, with one level of subfolders for the last two.\n"
    "A unit found nowhere is listed under its bare file name and not followed.\n"
    "\n"
    "The search folders come from the settings file that the desktop window keeps (ravelin.INI\n"
#ifdef _WIN32
    "beside the program, or %APPDATA%\\ravelin\\ravelin.INI when the program's folder cannot\n"
    "be written), or from --settings FILE; --no-settings reads none. --rtl, --vcl and --search\n"
    "replace the folder from the settings and switch its search on (--search takes folders\n"
    "separated by \";\"); relative folders mean the folder ravelin-cli was started in.\n"
#else
    "beside the program, or $XDG_CONFIG_HOME/ravelin/ravelin.INI, ~/.config/ravelin/ when\n"
    "unset), or from --settings FILE; --no-settings reads none. --rtl, --vcl and --search\n"
    "replace the folder from the settings and switch its search on (--search takes folders\n"
    "separated by \";\" or \":\"); relative folders mean the folder ravelin-cli was started in.\n"
#endif
    "When the window's settings file exists but cannot be read, a warning says so and the\n"
    "default settings are used. A search folder that is switched on but missing and a unit\n"
    "found nowhere are warnings on standard error, one line each.\n"
    "\n"
    "Only regular files are read as units. Each line of a text report ends in CR LF (LF with\n"
    "--eol lf); --format json gives the units and their uses as one JSON document, the same\n"
    "for list, tree and depend; --format csv a row per unit (list) or per use (tree, depend).\n"
    "\n"
    "Exit status: 0 success, 1 the run ended with an error (a root file or --settings file\n"
    "that cannot be read, a unit file that cannot be read or is no regular file, a report\n"
    "that cannot be written), 2 a usage error, 3 the report was written but --fail-on-cycles\n"
    "found what it fails on (see ravelin-cli cycles --help), or, with --strict, a unit was\n"
    "not found or a search folder is missing.";

/// The Free Pascal source folder that holds the runtime library folder when it is searched
/// (its FPMake packages lie in packages/ there); empty when it is not.
std::string FpcSourceFolder(const SettingsState& settings) {
  return settings.UseRtl ? FpcSourceFolderOf(settings.RtlPath) : std::string();
}

/// The report of list, tree or depend in the chosen format.
UnitReportStep OneReport(UnitReportKind kind, const OutputChoice& output) {
  return [kind, output](UnitAnalysisState& analysis, const std::string& root, std::string& text) {
    text = Render(UnitFormats(), output.format, UnitOutput{analysis, kind, root, output.eol});
    return ExitStatus::Success;
  };
}

ExitStatus RunList(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  const OutputChoice output = ChooseOutput(args, FormatNames(UnitFormats()));
  return RunUnitAnalysis(args, out, err, OneReport(UnitReportKind::List, output));
}
ExitStatus RunTree(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  const OutputChoice output = ChooseOutput(args, FormatNames(UnitFormats()));
  return RunUnitAnalysis(args, out, err, OneReport(UnitReportKind::Tree, output));
}
ExitStatus RunDepend(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  const OutputChoice output = ChooseOutput(args, FormatNames(UnitFormats()));
  return RunUnitAnalysis(args, out, err, OneReport(UnitReportKind::Depend, output));
}

/// The formats of the report command: every unit report and the line count, as text or as one
/// JSON document.
const std::vector<std::string_view> kReportFormats = {"text", "json"};

ExitStatus RunReport(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  const OutputChoice output = ChooseOutput(args, kReportFormats);
  return RunUnitAnalysis(
      args, out, err, [&](UnitAnalysisState& analysis, const std::string& root, std::string& text) {
        const std::string folder = FolderPart(root);
        const bool lazarusForms = FpcDialectFor(args, root);
        if (output.format == "json") {
          JsonDocument document = JsonDocument::object();
          document["version"] = kMachineFormatVersion;
          document["units"] = UnitJson(MakeUnitRecords(analysis));
          document["count"] = CountJson(CountUnitFiles(analysis, folder, lazarusForms));
          text = JsonText(document);
          return ExitStatus::Success;
        }
        for (UnitReportKind kind :
             {UnitReportKind::List, UnitReportKind::Tree, UnitReportKind::Depend})
          text += Render(UnitFormats(), "text", UnitOutput{analysis, kind, root, output.eol});
        text +=
            Render(CountFormats(), "text",
                   CountOutput{CountUnitFiles(analysis, folder, lazarusForms), true, output.eol});
        return ExitStatus::Success;
      });
}

}  // namespace

/// The line count over the unit file list, as the window's Line Count with "Reuse List"
/// checked makes it. The list is handed to the engine in memory: the summary would name the
/// list file "Tallion.Files" in the source folder, but that file is not written.
LineCountRecord CountUnitFiles(const UnitAnalysisState& analysis, const std::string& sourceFolder,
                               bool lazarusForms) {
  TLcntEngine engine;
  engine.LazarusForms = lazarusForms;
  engine.SetFileSpec(JoinPath(sourceFolder, kListFileName));
  engine.UseListFile = true;
  engine.Names = analysis.UnitFiles.Names();
  engine.FormScratch = false;  // binary forms are converted in memory
  engine.Count();
  return std::move(engine.Record);
}

ExitStatus RunUnitAnalysis(const ParsedArgs& args, std::ostream& out, std::ostream& err,
                           const UnitReportStep& report) {
  if (args.operands.empty() && !args.Has("project")) throw UsageError("no root file given");
  if (args.operands.size() > 1) throw UsageError("give exactly one root file");
  const CycleGate gate = ChooseCycleGate(args);

  std::string reportFile;  // fixed against the start folder, before the folder changes
  if (args.Has("report")) reportFile = Fs().FullPath(args.Value("report"));
  std::string text, gateMessage;
  ExitStatus status = ExitStatus::Success;
  {
    CommandScope scope;
    Fs().ClearCache();
    UnitAnalysis() = {};
    LineCounter() = {};  // the line counter's state at program start
    LoadSearchSettings(args, err);
    const bool searchMissing = WarnMissingSearchFolders(err);

    const SettingsState& settings = Settings();
    const CompilerChoice choice = ChooseCompilerRules(args, FpcSourceFolder(settings), err);
    const std::string root = choice.root;
    FileStat stat = Fs().Stat(root);
    if (!stat.exists || stat.isDir) {
      throw IoError("Cannot open \"" + root +
                    "\": " + std::strerror(stat.exists ? EISDIR : ENOENT));
    }
    Fs().SetCurrentFolder(FolderPart(root));

    UnitLookup lookup = UnitLookup::FromSettings(Settings());
    lookup.rules = RulesFor(choice, args, root);
    BuildUnitTree(root, lookup);
    for (const std::string& warning : UnitAnalysis().Warnings)
      err << kProgramName << ": warning: " << warning << "\n";
    const bool unresolved = WarnUnresolvedUnits(UnitAnalysis(), err);
    status = report(UnitAnalysis(), root, text);
    if (args.Has("strict") && (searchMissing || unresolved))
      status = Worse(status, ExitStatus::Condition);
    status = Worse(status, CheckCycleGate(gate, UnitAnalysis(), gateMessage));
  }
  DeliverText(text, reportFile, ReportStart::AtEnd, out);
  err << gateMessage;  // once the report is written
  return status;
}

std::vector<OptionSpec> UnitOptions() {
  std::vector<OptionSpec> options{
      {"settings", "FILE", "read the search folders from this settings file"},
      {"rtl", "DIR", "search DIR and its subfolders (runtime library sources)"},
      {"vcl", "DIR", "search DIR and its subfolders (class library sources)"},
#ifdef _WIN32
      {"search", "\"DIR;DIR\"", "search these folders, separated by \";\""},
#else
      {"search", "\"DIR;DIR\"", "search these folders, separated by \";\" or \":\""},
#endif
      {"no-settings", "", "read no settings file: only the folders given here are searched"},
      {"strict", "", "exit with status 3 when a unit is not found or a search folder is missing"},
  };
  for (OptionSpec& option : CompilerRuleOptions()) options.push_back(std::move(option));
  return options;
}

CliCommand UnitCommand(const char* name, const char* summary, const char* what,
                       ExitStatus (*run)(const ParsedArgs&, std::ostream&, std::ostream&)) {
  CliCommand command;
  command.name = name;
  command.synopsis =
      "[--settings FILE | --no-settings] [--rtl DIR] [--vcl DIR] [--search \"DIR;DIR\"] "
      "[--strict] [--format FORMAT] [--eol EOL] [--fail-on-cycles[=interface]] [--report FILE] " +
      std::string(kCompilerRulesSynopsis) + " [ROOT]";
  command.summary = summary;
  command.details = std::string(what) + "\n\n" + kSearchHelp + "\n\n" + kCompilerRulesHelp;
  command.options = UnitOptions();
  command.options.push_back(FailOnCyclesOption());
  for (OptionSpec& option : FormatOptions(FormatNames(UnitFormats())))
    command.options.push_back(std::move(option));
  command.run = run;
  return command;
}

CliCommand ListCommand() {
  return UnitCommand(
      "list", "list every unit file that a project or unit uses",
      "Writes the unit file listing: one row per unit file that ROOT uses, directly\n"
      "or through other units, with its size, time of last change and file name.",
      RunList);
}

CliCommand TreeCommand() {
  return UnitCommand("tree", "draw the \"uses\" relation of a project or unit as a tree chart",
                     "Writes the unit tree chart: the \"uses\" relation from ROOT as an indented\n"
                     "tree, units named in interface and implementation sections told apart.",
                     RunTree);
}

CliCommand DependCommand() {
  return UnitCommand("depend", "list which units use each unit of a project",
                     "Writes the unit dependency table: one numbered row per unit with the units\n"
                     "that use it, ROOT being the root.",
                     RunDepend);
}

CliCommand ReportCommand() {
  CliCommand command =
      UnitCommand("report", "all unit reports and a line count of every unit file",
                  "Analyses ROOT once, then writes into one report the unit file listing, the\n"
                  "unit tree chart, the dependency table and the detailed line count of every\n"
                  "unit file found, as the desktop window's four commands give them in turn\n"
                  "with \"Reuse List\" checked. The line count names the list file Tallion.Files\n"
                  "in ROOT's folder but keeps the list in memory; binary form files are converted\n"
                  "in memory: nothing is written but the report.\n"
                  "--format json writes one document: {\"version\", \"units\": the unit document,\n"
                  "\"count\": the line count document}.",
                  RunReport);
  command.options = UnitOptions();
  command.options.push_back(FailOnCyclesOption());
  for (OptionSpec& option : FormatOptions(kReportFormats))
    command.options.push_back(std::move(option));
  return command;
}

}  // namespace ravelin::cli
