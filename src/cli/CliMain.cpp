// ravelin-cli: the command table, the help texts and the run of one command line.
#include "cli/CliMain.h"

#include <algorithm>
#include <new>
#include <sstream>

#include "cli/CountCommand.h"
#include "cli/GraphCommands.h"
#include "cli/HtmlCommand.h"
#include "cli/OutputOptions.h"
#include "cli/UnitCommands.h"
#include "common/Error.h"
#include "common/VornString.h"
#include "platform/FileSys.h"

#ifndef RAVELIN_VERSION
#define RAVELIN_VERSION "0.0.0.0"
#endif

namespace ravelin {
namespace cli {

std::vector<CliCommand> Commands() {
  return {
      CountCommand(),  ListCommand(),   TreeCommand(),  DependCommand(),
      ReportCommand(), CyclesCommand(), GraphCommand(), HtmlCommand(),
  };
}

namespace {

std::string OptionsHelp(const std::vector<OptionSpec>& options) {
  // Each option's head, then its help in a column of its own, wrapped at word ends.
  constexpr size_t kLineWidth = 90;
  std::vector<std::pair<std::string, std::string>> rows;
  size_t width = 0;
  for (const auto& option : options) {
    std::string head = option.letter != 0 ? std::string("-") + option.letter + ", " : "";
    head += "--" + option.name;
    if (option.optionalValue) {
      head += "[=" + option.valueName + "]";
    } else if (!option.valueName.empty()) {
      head += " " + option.valueName;
    }
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
          "  --version  show the program's version and exit\n" +
          "\nExit status: 0 the report was written; 1 an error, nothing written; 2 a usage\n" +
          "error; 3 the report was written but inputs were skipped, --fail-on-cycles found a\n" +
          "cycle, or, with --strict, a file, a pattern's match, a unit or a search folder was\n" +
          "not found.\n" +
          "Warnings go to standard error, one line each. See also: man ravelin-cli\n";
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
  return ExitCode(ExitStatus::Usage);
}

}  // namespace

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
          return ExitCode(ExitStatus::Success);
        }
        return ReportUsageError(err, "unknown command '" + args[1] + "'", "");
      }
      out << OverviewHelp(commands);
      return ExitCode(ExitStatus::Success);
    }
    if (first == "--version") {
      out << kProgramName << " " << RAVELIN_VERSION << "\n";
      return ExitCode(ExitStatus::Success);
    }
    const CliCommand* command = FindCommand(commands, first);
    if (command == nullptr) return ReportUsageError(err, "unknown command '" + first + "'", "");

    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (AsksForHelp(rest)) {
      out << CommandHelp(*command);
      return ExitCode(ExitStatus::Success);
    }
    std::vector<OptionSpec> specs = command->options;
    specs.insert(specs.end(), CommonOptions().begin(), CommonOptions().end());
    try {
      const ParsedArgs parsed = ParseArgs(rest, specs);
      // A command reads the tree as it stands and writes only its report at the end.
      const TrustedFolderCache trust(Fs());
      return ExitCode(command->run(parsed, out, err));
    } catch (const UsageError& e) {
      return ReportUsageError(err, e.what(), command->name);
    }
  } catch (const UsageError& e) {
    return ReportUsageError(err, e.what(), "");
  } catch (const std::bad_alloc&) {
    err << kProgramName << ": out of memory\n";
    return ExitCode(ExitStatus::Failed);
  } catch (const std::exception& e) {
    err << kProgramName << ": " << e.what() << "\n";
    return ExitCode(ExitStatus::Failed);
  }
}

}  // namespace ravelin
