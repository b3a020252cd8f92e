// ravelin-cli: subcommand dispatch, option parsing, report delivery and the count command.
#include "cli/CliMain.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <sstream>

#include "common/Error.h"
#include "common/PathUtil.h"
#include "common/TextLines.h"
#include "common/VornString.h"
#include "linecount/LCntEngn.h"
#include "platform/FileSys.h"

#ifndef RAVELIN_VERSION
#define RAVELIN_VERSION "0.0.0.0"
#endif

namespace ravelin {
namespace cli {

// ---------------------------------------------------------------------------------------------
// Options and report delivery

ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs) {
  ParsedArgs parsed;
  auto findSpec = [&](const std::string& name) -> const OptionSpec* {
    for (const auto& spec : specs)
      if (spec.name == name) return &spec;
    return nullptr;
  };
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      parsed.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg.compare(0, 2, "--") != 0) throw UsageError("unknown option '" + arg + "'");
    std::string name = arg.substr(2);
    std::string value;
    bool hasInlineValue = false;
    if (auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
      hasInlineValue = true;
    }
    const OptionSpec* spec = findSpec(name);
    if (spec == nullptr) throw UsageError("unknown option '--" + name + "'");
    if (parsed.Has(name)) throw UsageError("option '--" + name + "' given twice");
    if (spec->valueName.empty()) {
      if (hasInlineValue) throw UsageError("option '--" + name + "' takes no value");
    } else if (!hasInlineValue) {
      if (i + 1 >= args.size()) {
        throw UsageError("option '--" + name + "' needs a value (" + spec->valueName + ")");
      }
      value = args[++i];
    }
    if (!spec->valueName.empty() && value.empty()) {
      throw UsageError("option '--" + name + "' needs a non-empty value (" + spec->valueName + ")");
    }
    parsed.options[name] = value;
  }
  return parsed;
}

const std::vector<OptionSpec>& CommonOptions() {
  static const std::vector<OptionSpec> options = {
      {"report", "FILE",
       "append the report to FILE (a regular file, created when missing) instead of writing it "
       "to standard output; runs appending to one FILE take turns, and a failed or interrupted "
       "append leaves FILE as it was"},
      {"help", "", "show this help and exit"},
  };
  return options;
}

void DeliverText(std::string_view text, const std::string& reportFile, ReportStart start,
                 std::ostream& out) {
  if (!reportFile.empty()) {
    Fs().AppendReport(reportFile, text, start);
    return;
  }
  errno = 0;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (!out) {
    const int err = errno;
    throw IoError(std::string("Cannot write the report to standard output: ") +
                  (err != 0 ? std::strerror(err) : "the output stream failed"));
  }
}

void DeliverReport(const std::vector<std::string>& lines, const ParsedArgs& args,
                   std::ostream& out) {
  // The window appends a line count after a line end when the file's last line has none, so
  // the new report never starts in the middle of the old text.
  DeliverText(JoinLinesCrLf(lines), args.Value("report"), ReportStart::OnOwnLine, out);
}

// ---------------------------------------------------------------------------------------------
// count

namespace {

int RunCount(const ParsedArgs& args, std::ostream& out, std::ostream& /*err*/) {
  TLcntEngine engine;
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
    engine.SetFileSpec(JoinPath(Fs().CurrentFolder(), "Tallion.Files"));
    engine.UseListFile = true;
    engine.ListText = JoinLinesCrLf(names);
  }
  engine.Detailed = !args.Has("summary");
  if (!engine.Execute()) throw GeneralError("The line count did not complete");
  DeliverReport(engine.Lines, args, out);
  return 0;
}

CliCommand CountCommand() {
  CliCommand command;
  command.name = "count";
  command.synopsis = "[--summary] [--report FILE] (--list LISTFILE | 'PATTERN' | FILE...)";
  command.summary = "count blank, comment and source lines of Pascal files (and their forms)";
  command.details =
      "Classifies every line of the given Pascal source files as blank, comment, source or\n"
      "commented source and writes the line count report (a row per file and a total), or the\n"
      "summary report with --summary. Units with a form file beside them also get the form\n"
      "report.\n"
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
      "A file that cannot be read is reported as not found and counted as empty. Each report\n"
      "line ends in CR LF. A binary form file is counted through the scratch file Tallion.TXT\n"
      "in the current folder; a form whose text would pass 256 times its size (at most 1 GiB)\n"
      "ends the run.\n"
      "\n"
      "Exit status: 0 success, 1 the run ended with an error (a list file that cannot be read,\n"
      "a line of 65,535 or more characters, a count overflow, a form that passes its limit, a\n"
      "report that cannot be written), 2 a usage error.";
  command.options = {
      {"list", "LISTFILE", "count the files named in LISTFILE, one per line"},
      {"summary", "", "write the summary report instead of the detailed one"},
  };
  command.run = RunCount;
  return command;
}

// ---------------------------------------------------------------------------------------------
// Help

std::string OptionsHelp(const std::vector<OptionSpec>& options) {
  // Each option's head, then its help in a column of its own, wrapped at word ends.
  constexpr size_t kLineWidth = 90;
  std::vector<std::pair<std::string, std::string>> rows;
  size_t width = 0;
  for (const auto& option : options) {
    std::string head = "--" + option.name;
    if (!option.valueName.empty()) head += " " + option.valueName;
    width = std::max(width, head.size());
    rows.emplace_back(head, option.help);
  }
  const size_t indent = 2 + width + 2;
  std::string text;
  for (const auto& [head, help] : rows) {
    std::string line = "  " + PadRight(head, static_cast<int>(width)) + " ";
    std::istringstream words(help);
    std::string word;
    bool first = true;
    while (words >> word) {
      if (!first && line.size() + 1 + word.size() > kLineWidth) {
        text += line + "\n";
        line = std::string(indent - 1, ' ');
      }
      line += " " + word;
      first = false;
    }
    text += line + "\n";
  }
  return text;
}

std::string CommandHelp(const CliCommand& command) {
  std::vector<OptionSpec> options = command.options;
  options.insert(options.end(), CommonOptions().begin(), CommonOptions().end());
  std::string text = std::string("Usage: ") + kProgramName + " " + command.name + " " +
                     command.synopsis + "\n\n" + command.details + "\n\nOptions:\n" +
                     OptionsHelp(options);
  return text;
}

std::string OverviewHelp(const std::vector<CliCommand>& commands) {
  std::string text = std::string("Usage: ") + kProgramName + " COMMAND [OPTIONS] [ARGS]\n\n" +
                     "Ravelin measures and maps Delphi / Object Pascal code bases and writes\n" +
                     "plain-text reports.\n\nCommands:\n";
  size_t width = 0;
  for (const auto& command : commands) width = std::max(width, command.name.size());
  for (const auto& command : commands)
    text += "  " + PadRight(command.name, int(width)) + "  " + command.summary + "\n";
  text += std::string("\nRun '") + kProgramName + " COMMAND --help' for a command's options.\n" +
          "Other options:\n" + "  --help     show this help and exit\n" +
          "  --version  show the program's version and exit\n";
  return text;
}

const CliCommand* FindCommand(const std::vector<CliCommand>& commands, const std::string& name) {
  for (const auto& command : commands)
    if (command.name == name) return &command;
  return nullptr;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  for (const auto& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

int ReportUsageError(std::ostream& err, const std::string& message, const std::string& command) {
  err << kProgramName << ": " << message << "\n";
  err << "Try '" << kProgramName << (command.empty() ? "" : " " + command) << " --help'.\n";
  return 2;
}

}  // namespace

std::vector<CliCommand> Commands() {
  std::vector<CliCommand> commands = {CountCommand()};
#ifdef RAVELIN_CLI_UNITS
  for (auto& command : UnitCommands()) commands.push_back(std::move(command));
#endif
  return commands;
}

}  // namespace cli

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
  using namespace cli;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i] ? argv[i] : "");

  try {
    const std::vector<CliCommand> commands = Commands();
    if (args.empty()) return ReportUsageError(err, "no command given", "");
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || first == "help") {
      if (first == "help" && args.size() > 1) {
        if (const CliCommand* command = FindCommand(commands, args[1])) {
          out << CommandHelp(*command);
          return 0;
        }
        return ReportUsageError(err, "unknown command '" + args[1] + "'", "");
      }
      out << OverviewHelp(commands);
      return 0;
    }
    if (first == "--version") {
      out << kProgramName << " " << RAVELIN_VERSION << "\n";
      return 0;
    }
    const CliCommand* command = FindCommand(commands, first);
    if (command == nullptr) return ReportUsageError(err, "unknown command '" + first + "'", "");

    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (AsksForHelp(rest)) {
      out << CommandHelp(*command);
      return 0;
    }
    std::vector<OptionSpec> specs = command->options;
    specs.insert(specs.end(), CommonOptions().begin(), CommonOptions().end());
    try {
      const ParsedArgs parsed = ParseArgs(rest, specs);
      return command->run(parsed, out, err);
    } catch (const UsageError& e) {
      return ReportUsageError(err, e.what(), command->name);
    }
  } catch (const UsageError& e) {
    return ReportUsageError(err, e.what(), "");
  } catch (const std::bad_alloc&) {
    err << kProgramName << ": out of memory\n";
    return 1;
  } catch (const std::exception& e) {
    err << kProgramName << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace ravelin
