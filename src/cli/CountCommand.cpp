// ravelin-cli count: the inputs of a line count (folders walked, patterns expanded, names, a
// list file), the run and the report in the chosen format, and the exit status it earns.
#include "cli/CountCommand.h"

#include <algorithm>
#include <memory>
#include <thread>

#include "cli/CompilerOptions.h"
#include "cli/Formats.h"
#include "cli/OperandWalk.h"
#include "cli/OutputOptions.h"
#include "cli/Progress.h"
#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/VornString.h"
#include "linecount/LCntEngn.h"
#include "platform/FileSys.h"
#include "platform/FileWalk.h"
#include "platform/GitIgnore.h"

namespace ravelin::cli {

namespace {

/// The list file "-": the list arrives on standard input.
constexpr const char* kStdinList = "/dev/stdin";

/// What the inputs of a run gave besides the names to count.
struct InputNotes {
  bool folders = false;       ///< a folder was walked (keep-going by default)
  bool skipped = false;       ///< a folder could not be read: inputs were left out
  bool strictFailed = false;  ///< a pattern matched nothing, git's rules could not be read
};

/// The walk's options from --ext, --exclude and --no-ignore.
WalkOptions WalkOptionsOf(const ParsedArgs& args) {
  WalkOptions options;
  if (args.Has("ext")) {
    options.extensions.clear();
    std::string rest = args.Value("ext");
    while (!rest.empty()) {
      std::string extension = SplitFirst(rest, ",");
      if (!extension.empty()) options.extensions.push_back(extension);
    }
    if (options.extensions.empty()) throw UsageError("--ext needs at least one extension");
  }
  options.excludes = args.Values("exclude");
  options.gitIgnore = !args.Has("no-ignore");
  return options;
}

/// Takes the folders, patterns and names of the command line, in the order given, as the
/// engine's names, walked while the engine counts.
void WalkOperands(const ParsedArgs& args, TLcntEngine& engine, InputNotes& notes,
                  std::unique_ptr<OperandWalk>& walk) {
  walk = std::make_unique<OperandWalk>(args.operands, WalkOptionsOf(args));
  const std::vector<OperandKind>& kinds = walk->Kinds();
  notes.folders = std::find(kinds.begin(), kinds.end(), OperandKind::Folder) != kinds.end();
  // The summary names the one folder or pattern counted, else the list file the window would
  // have written into the current folder (nothing is written there).
  const bool onlyOneGroup =
      kinds.size() == 1 && (kinds[0] == OperandKind::Folder || kinds[0] == OperandKind::Pattern);
  engine.SetFileSpec(onlyOneGroup ? args.operands[0]
                                  : JoinPath(Fs().CurrentFolder(), kListFileName));
  engine.UseListFile = true;
  engine.NameSource = [source = walk.get()](std::string& name) { return source->Next(name); };
}

/// Sets the engine's input from the command line: a list file (or "-" for standard input), or
/// folders, patterns and names.
void SetInputs(const ParsedArgs& args, TLcntEngine& engine, InputNotes& notes,
               std::unique_ptr<OperandWalk>& walk) {
  if (args.Has("list")) {
    if (!args.operands.empty()) {
      throw UsageError("give either --list LISTFILE or file names (folders, patterns), not both");
    }
    for (const char* walkOption : {"ext", "exclude", "no-ignore"}) {
      if (args.Has(walkOption))
        throw UsageError(std::string("--") + walkOption +
                         " applies to folders and patterns, not to --list");
    }
    const std::string list = args.Value("list");
    engine.SetFileSpec(list == "-" ? kStdinList : list);
    engine.UseListFile = true;
  } else if (args.operands.empty()) {
    throw UsageError(
        "nothing to count: give folders, quoted patterns, file names or --list LISTFILE");
  } else {
    WalkOperands(args, engine, notes, walk);
  }
}

/// The --jobs value: a whole number from 1 to 1024, or the number of cores.
unsigned JobsOf(const ParsedArgs& args) {
  if (!args.Has("jobs")) return std::max(1u, std::thread::hardware_concurrency());
  const std::string value = args.Value("jobs");
  if (value.size() > 4 || value.find_first_not_of("0123456789") != std::string::npos ||
      std::stoi(value) < 1 || std::stoi(value) > 1024) {
    throw UsageError("--jobs takes a number from 1 to 1024, not '" + value + "'");
  }
  return static_cast<unsigned>(std::stoi(value));
}

/// Names on stderr every input that was skipped or not found; returns the run's status.
ExitStatus ReportInputs(const LineCountRecord& record, const InputNotes& notes, bool strict,
                        std::ostream& err) {
  bool notFound = false;
  for (const CountedFile& file : record.files) {
    if (!file.skipped.empty()) {
      err << kProgramName << ": File \"" << file.name << "\" skipped: " << file.skipped << "\n";
    } else if (!file.found) {
      err << kProgramName << ": warning: File \"" << file.name << "\" not found.\n";
      notFound = true;
    }
  }
  const bool failed =
      record.SkippedCount > 0 || notes.skipped || (strict && (notFound || notes.strictFailed));
  return failed ? ExitStatus::Condition : ExitStatus::Success;
}

ExitStatus RunCount(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  const OutputChoice output = ChooseOutput(args, FormatNames(CountFormats()));
  if (args.Has("summary") && output.format != "text") {
    throw UsageError("--summary applies to the text format only");
  }
  TLcntEngine engine;
  engine.Jobs = JobsOf(args);
  engine.LazarusForms = FpcDialectAsked(args);
  engine.FormScratch = false;  // binary forms are converted in memory
  InputNotes notes;
  std::unique_ptr<OperandWalk> walk;
  SetInputs(args, engine, notes, walk);
  engine.KeepGoing = args.Has("keep-going") || notes.folders;
  Progress progress(err, !args.Has("quiet"));
  // The walk's warnings are written on this thread, as the run goes on and at its end.
  auto writeWarnings = [&] {
    if (walk) walk->WriteWarnings(err, kProgramName);
  };
  engine.OnProgress = [&](std::uint64_t bytes) {
    writeWarnings();
    progress.Add(bytes);
  };
  try {
    engine.Count();
  } catch (...) {
    writeWarnings();
    throw;
  }
  writeWarnings();
  progress.Finish();
  if (walk) {
    notes.skipped = walk->FolderSkipped();
    notes.strictFailed = walk->StrictFailed();
  }
  const ExitStatus status = ReportInputs(engine.Record, notes, args.Has("strict"), err);
  const std::string text = Render(CountFormats(), output.format,
                                  CountOutput{engine.Record, !args.Has("summary"), output.eol});
  // The window appends a line count after a line end when the file's last line has none, so
  // the new report never starts in the middle of the old text.
  DeliverOutput(text, args, out, ReportStart::OnOwnLine);
  return status;
}

}  // namespace

CliCommand CountCommand() {
  CliCommand command;
  command.name = "count";
  command.synopsis = "[OPTIONS] (DIR | FILE | 'PATTERN')... | --list LISTFILE";
  command.summary = "count blank, comment and source lines of Pascal files (and their forms)";
  command.details =
      "Classifies every line of the given Pascal source files as blank, comment, source or\n"
      "commented source and writes the line count report (a row per file, grouped by folder in\n"
      "PATH lines, and a total), or the summary report with --summary. Units with a form file\n"
      "beside them also get the form report. --format json gives every file, every form and\n"
      "the totals as one JSON document, --format csv a row per file, --format html one\n"
      "self-contained page (save it with --output FILE) with the totals and a table sortable\n"
      "by any column and filterable by name. With --dialect fpc a unit\n"
      "without a .dfm form takes its Lazarus form (.lfm) instead.\n"
      "\n"
      "The inputs, mixed in any order, each file counted once however often it is reached:\n"
      "  DIR          every file below DIR with one of the extensions (--ext; by default .pas\n"
      "               .pp .p .dpr .dpk .lpr .inc, ignoring case): a folder's files first, then\n"
      "               its subfolders, each in name order; hidden entries, __history and\n"
      "               __recovery folders, --exclude matches and what git ignores (in a git\n"
      "               work tree; --no-ignore to count it too) are left out; links are\n"
      "               followed, each folder walked once\n"
      "  FILE         a file, taken byte for byte whatever its extension\n"
      "  'PATTERN'    a quoted argument holding * or ?, matched ignoring letter case: * and ?\n"
      "               within a name, ** for any number of folders ('src/**/*.pas'); '*.dfm'\n"
      "               counts the units of the forms\n"
      "  --list LISTFILE  a list file with one file name per line (blank lines and blanks\n"
      "               around names are ignored); \"-\" reads the list from standard input\n"
      "The summary names the one folder or pattern given, the list file, or else Tallion.Files\n"
      "in the current folder (nothing is written there).\n"
      "\n"
      "A file that cannot be read is reported as not found (a warning on standard error) and\n"
      "counted as empty. A file that cannot be counted (a line of 65,535 or more characters,\n"
      "a damaged binary form, a form whose text would pass 256 times its size) ends the run,\n"
      "unless --keep-going is given or a folder is counted: then it is named on standard error\n"
      "and in the report (File \"X\" skipped: reason), left out of the totals, and the run goes\n"
      "on. Binary forms are converted in memory; nothing is written but the report. Each line\n"
      "of the text report ends in CR LF (LF with --eol lf); JSON and CSV lines end in LF.\n"
      "On a terminal, a run longer than a second shows its progress on standard error.\n"
      "\n"
      "Exit status: 0 the report was written; 1 the run ended with an error and nothing was\n"
      "written (a list file that cannot be read, a file that cannot be counted without\n"
      "--keep-going, a count overflow, a report that cannot be written); 2 a usage error;\n"
      "3 the report was written but files were skipped or a folder could not be read, or,\n"
      "with --strict, a file was not found or a pattern matched nothing.";
  command.options = {
      {"list", "LISTFILE", "count the files named in LISTFILE, one per line; - for standard input"},
      {"ext", "LIST",
       "take files with these extensions from folders, separated by \",\" "
       "(default: pas,pp,p,dpr,dpk,lpr,inc)"},
      {"exclude", "GLOB",
       "leave out paths below a folder (or a pattern's fixed part) matching GLOB: * and ? within "
       "a name, ** for any folders, a GLOB without / matches a name at any depth, a trailing / "
       "only folders; may be repeated",
       0, true},
      {"no-ignore", "",
       HaveGitIgnore() ? "count what git's ignore rules (.gitignore) leave out"
                       : "count what git's ignore rules (.gitignore) leave out (this build "
                         "reads no such rules and always counts it)"},
      {"keep-going", "",
       "name a file that cannot be counted and go on without it (the default "
       "when a folder is counted); exit status 3"},
      {"strict", "", "exit with status 3 when a file is not found or a pattern matches nothing"},
      {"jobs", "N",
       "read and count N files at once (default: the number of cores); the report "
       "is the same for every N",
       'j'},
      {"quiet", "", "show no progress on a terminal", 'q'},
      {"summary", "", "write the summary report instead of the detailed one (text only)"},
      DialectOption(),
  };
  for (OptionSpec& option : FormatOptions(FormatNames(CountFormats())))
    command.options.push_back(std::move(option));
  command.options.push_back(OutputFileOption());
  command.run = RunCount;
  return command;
}

}  // namespace ravelin::cli
