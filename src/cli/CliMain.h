// The command-line front end, ravelin-cli: a table of subcommands ("count", and the unit
// commands of CliUnits.cpp), their shared option parsing and the delivery of a finished report
// to standard output or to a report file.
//
// Adding a subcommand: write a function `int Run(const cli::ParsedArgs&, std::ostream& out,
// std::ostream& err)` and put a cli::CliCommand for it into the table; the unit commands are
// returned by cli::UnitCommands() from CliUnits.cpp, which the build picks up when it exists.
// Every subcommand accepts --report FILE and --help without declaring them.
#pragma once

#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSys.h"

namespace ravelin {

/// Runs ravelin-cli with the given arguments (argv[0] is the program); the report goes to out,
/// messages to err. Returns the exit status: 0 success, 1 the run ended with an error, 2 a
/// usage error.
int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);

namespace cli {

/// The name every message of the program starts with.
inline constexpr const char* kProgramName = "ravelin-cli";

/// Bad options or operands on the command line; ends the program with exit status 2.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

/// One option of a subcommand: "--name" alone, or "--name VALUE" when valueName is set.
struct OptionSpec {
  std::string name;       ///< without the leading "--"
  std::string valueName;  ///< the value's placeholder in the help ("FILE"); empty for a flag
  std::string help;       ///< one line for the help text
};

/// The options and operands of one subcommand's command line.
struct ParsedArgs {
  std::map<std::string, std::string> options;  ///< given options by name; flags map to ""
  std::vector<std::string> operands;           ///< the remaining arguments, in order

  /// True when the option was given.
  bool Has(const std::string& name) const { return options.count(name) != 0; }
  /// The option's value; empty when it was not given.
  std::string Value(const std::string& name) const {
    auto it = options.find(name);
    return it == options.end() ? std::string() : it->second;
  }
};

/// Parses arguments against the allowed options: "--name", "--name VALUE", "--name=VALUE";
/// "--" ends the options; "-" and any argument not starting with "-" are operands. Throws
/// UsageError for an unknown option, a missing or unexpected value, or an option given twice.
ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs);

/// The options every subcommand accepts: --report FILE and --help.
const std::vector<OptionSpec>& CommonOptions();

/// Delivers a finished report text: appended to reportFile when one is named (the one report
/// append of FileSystem::AppendReport: created when missing, whole or absent), else written to
/// out. Throws IoError naming the file and the reason when it cannot be written.
void DeliverText(std::string_view text, const std::string& reportFile, ReportStart start,
                 std::ostream& out);

/// Delivers a line count report: each line followed by CR LF, to the file of --report (after
/// a CR LF when its old last line has no line end) or else to out. Throws IoError.
void DeliverReport(const std::vector<std::string>& lines, const ParsedArgs& args,
                   std::ostream& out);

/// One subcommand of ravelin-cli.
struct CliCommand {
  std::string name;      ///< the word after ravelin-cli
  std::string synopsis;  ///< the usage line after "ravelin-cli NAME "
  std::string summary;   ///< one line for the command overview
  std::string details;   ///< the help text's paragraphs after the usage and before the options
  std::vector<OptionSpec> options;  ///< the command's own options (the common ones are added)
  /// Runs the command; returns the exit status. Throws UsageError or ravelin::Error.
  int (*run)(const ParsedArgs& args, std::ostream& out, std::ostream& err) = nullptr;
};

/// Every subcommand, in the order the help lists them.
std::vector<CliCommand> Commands();

/// The unit analysis commands, defined in CliUnits.cpp (part of the build when it exists).
std::vector<CliCommand> UnitCommands();

}  // namespace cli
}  // namespace ravelin
