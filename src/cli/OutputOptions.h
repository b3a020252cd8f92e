// The output options every report command shares (--report, --format, --eol) and the delivery
// of a finished report to standard output or to a report file.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliArgs.h"
#include "platform/FileSys.h"

namespace ravelin::cli {

/// How a command was asked to write its report.
struct OutputChoice {
  std::string format = "text";  ///< the --format value: "text", "json", "csv", ...
  std::string eol = "\r\n";     ///< what ends a line of a text report (--eol)
  std::string reportFile;       ///< the --report value; empty for standard output
};

/// The options every command accepts: --report FILE and --help.
const std::vector<OptionSpec>& CommonOptions();
/// The --format option of a command that renders its record in the given formats (the first
/// is the default), and --eol.
std::vector<OptionSpec> FormatOptions(const std::vector<std::string_view>& formats);

/// The output the arguments ask for. Throws UsageError for a format outside formats, or --eol
/// with anything but the text format.
OutputChoice ChooseOutput(const ParsedArgs& args, const std::vector<std::string_view>& formats);

/// Delivers a finished report text: appended to reportFile when one is named (the one report
/// append of FileSystem::AppendReport: created when missing, whole or absent), else written to
/// out. Throws IoError naming the file and the reason when it cannot be written.
void DeliverText(std::string_view text, const std::string& reportFile, ReportStart start,
                 std::ostream& out);

/// The --output FILE option: the report replaces FILE.
OptionSpec OutputFileOption();

/// Delivers a finished report as the arguments ask: replacing the --output file (written
/// beside it first, the old file whole when that fails), else as DeliverText does with
/// --report. Throws UsageError when both are given, IoError when the file cannot be written.
void DeliverOutput(std::string_view text, const ParsedArgs& args, std::ostream& out,
                   ReportStart start = ReportStart::AtEnd);

/// Lines joined, each followed by eol.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view eol);

}  // namespace ravelin::cli
