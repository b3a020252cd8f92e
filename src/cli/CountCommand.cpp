// ravelin-cli count: the inputs of a line count, the run and the report in the chosen format.
#include "cli/CountCommand.h"

#include "cli/CompilerOptions.h"
#include "cli/Formats.h"
#include "cli/OutputOptions.h"
#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "linecount/LCntEngn.h"
#include "platform/FileSys.h"

namespace ravelin::cli {

namespace {

/// Sets the engine's input from the command line: a list file, one pattern, or names.
void SetInputs(const ParsedArgs& args, TLcntEngine& engine) {
  const auto& names = args.operands;
  if (args.Has("list")) {
    if (!names.empty()) throw UsageError("give either --list LISTFILE or file names, not both");
    engine.SetFileSpec(args.Value("list"));
    engine.UseListFile = true;
  } else if (names.empty()) {
    throw UsageError("nothing to count: give --list LISTFILE, a quoted pattern or file names");
  } else if (names.size() == 1 && HasWildcard(names[0])) {
    engine.SetFileSpec(names[0]);
    engine.UseListFile = false;
  } else {
    // The names are counted exactly as a list file holding them, one per line, would be. The
    // summary names the list file that the window would have written into the current folder;
    // nothing is written to disk.
    engine.SetFileSpec(JoinPath(Fs().CurrentFolder(), kListFileName));
    engine.UseListFile = true;
    engine.Names = ListFileNames(JoinLinesCrLf(names));
  }
}

ExitStatus RunCount(const ParsedArgs& args, std::ostream& out, std::ostream& /*err*/) {
  const OutputChoice output = ChooseOutput(args, FormatNames(CountFormats()));
  if (args.Has("summary") && output.format != "text") {
    throw UsageError("--summary applies to the text format only");
  }
  TLcntEngine engine;
  engine.LazarusForms = FpcDialectAsked(args);
  SetInputs(args, engine);
  engine.Count();
  const std::string text = Render(CountFormats(), output.format,
                                  CountOutput{engine.Record, !args.Has("summary"), output.eol});
  // The window appends a line count after a line end when the file's last line has none, so
  // the new report never starts in the middle of the old text.
  DeliverText(text, output.reportFile, ReportStart::OnOwnLine, out);
  return ExitStatus::Success;
}

}  // namespace

CliCommand CountCommand() {
  CliCommand command;
  command.name = "count";
  command.synopsis =
      "[--summary] [--dialect NAME] [--format FORMAT] [--eol EOL] [--report FILE] "
      "(--list LISTFILE | 'PATTERN' | FILE...)";
  command.summary = "count blank, comment and source lines of Pascal files (and their forms)";
  command.details =
      "Classifies every line of the given Pascal source files as blank, comment, source or\n"
      "commented source and writes the line count report (a row per file and a total), or the\n"
      "summary report with --summary. Units with a form file beside them also get the form\n"
      "report. --format json gives every file, every form and the totals as one JSON\n"
      "document, --format csv a row per file. With --dialect fpc a unit without a .dfm form\n"
      "takes its Lazarus form (.lfm) instead.\n"
      "\n"
      "The input is one of:\n"
      "  --list LISTFILE  a list file with one file name per line (blank lines and blanks\n"
      "                   around names are ignored); the summary names LISTFILE\n"
      "  'PATTERN'        one quoted argument holding * or ?, matched ignoring letter case\n"
      "                   against the names in its folder, e.g. 'src/*.pas'\n"
      "  FILE...          file names, counted in the given order exactly as a list file\n"
      "                   holding them would be; the summary names Tallion.Files in the\n"
      "                   current folder (nothing is written there)\n"
      "\n"
      "A file that cannot be read is reported as not found and counted as empty. Each line of\n"
      "the text report ends in CR LF (LF with --eol lf); JSON and CSV lines end in LF. A binary\n"
      "form file is counted through the scratch file Tallion.TXT in the current folder; a form\n"
      "whose text would pass 256 times its size (at most 1 GiB) ends the run.\n"
      "\n"
      "Exit status: 0 success, 1 the run ended with an error (a list file that cannot be read,\n"
      "a line of 65,535 or more characters, a count overflow, a form that passes its limit, a\n"
      "report that cannot be written), 2 a usage error.";
  command.options = {
      {"list", "LISTFILE", "count the files named in LISTFILE, one per line"},
      {"summary", "", "write the summary report instead of the detailed one (text only)"},
      DialectOption(),
  };
  for (OptionSpec& option : FormatOptions(FormatNames(CountFormats())))
    command.options.push_back(std::move(option));
  command.run = RunCount;
  return command;
}

}  // namespace ravelin::cli
