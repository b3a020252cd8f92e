// The command line of one ravelin-cli command: the options it accepts and what was given.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace ravelin::cli {

/// Bad options or operands on the command line; ends the program with exit status 2.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

/// One option of a command: "--name" (and "-x" when it has a letter) alone, or with a value.
struct OptionSpec {
  std::string name;            ///< without the leading "--"
  std::string valueName;       ///< the value's placeholder in the help ("FILE"); empty for a flag
  std::string help;            ///< one line for the help text
  char letter = 0;             ///< the one-letter form ("-D NAME", "-DNAME"); 0 for none
  bool repeatable = false;     ///< may be given more than once; every value is kept
  bool optionalValue = false;  ///< a value only as "--name=VALUE"; "--name" alone gives ""
};

/// The options and operands of one command's command line.
struct ParsedArgs {
  std::map<std::string, std::vector<std::string>> options;  ///< given options by name
  std::vector<std::string> operands;                        ///< the remaining arguments, in order

  /// True when the option was given.
  bool Has(const std::string& name) const { return options.count(name) != 0; }
  /// The option's (last) value; empty when it was not given or is a flag.
  std::string Value(const std::string& name) const;
  /// Every value of the option, in the order given.
  std::vector<std::string> Values(const std::string& name) const;
};

/// Parses arguments against the allowed options: "--name", "--name VALUE", "--name=VALUE",
/// "-x", "-x VALUE", "-xVALUE"; "--" ends the options; "-" and any argument not starting with
/// "-" are operands. Throws UsageError for an unknown option, a missing or unexpected value,
/// an empty value, or an option given twice that is not repeatable.
ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs);

}  // namespace ravelin::cli
