// The command-line front end, ravelin-cli: the table of its commands, their help, and the run
// of one command line.
//
// Adding a command: a file NameCommand.cpp (with its header) whose function returns the
// command's CliCommand, and one line in Commands() (CliMain.cpp). Options every command takes
// (--report, --help) come from OutputOptions.h; a command that renders a record adds
// FormatOptions of its format table (Formats.h); the unit commands share UnitCommand().
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/ExitStatus.h"

namespace ravelin {

/// Runs ravelin-cli with the given arguments (argv[0] is the program); the report goes to out,
/// messages to err. Returns the exit code (ExitStatus).
int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);

namespace cli {

/// The name every message of the program starts with.
inline constexpr const char* kProgramName = "ravelin-cli";

/// One command of ravelin-cli.
struct CliCommand {
  std::string name;      ///< the word after ravelin-cli
  std::string synopsis;  ///< the usage line after "ravelin-cli NAME "
  std::string summary;   ///< one line for the command overview
  std::string details;   ///< the help text's paragraphs after the usage and before the options
  std::vector<OptionSpec> options;  ///< the command's own options (the common ones are added)
  /// Runs the command. Throws UsageError or ravelin::Error.
  ExitStatus (*run)(const ParsedArgs& args, std::ostream& out, std::ostream& err) = nullptr;
};

/// Every command, in the order the help lists them.
std::vector<CliCommand> Commands();

}  // namespace cli
}  // namespace ravelin
