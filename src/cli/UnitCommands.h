// ravelin-cli's unit commands (list, tree, depend, report) and what every command that
// analyses a root file shares: its options, its synopsis and the analysis itself.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliMain.h"

#include "linecount/LineCountRecord.h"

namespace ravelin {
struct UnitAnalysisState;
}

namespace ravelin::cli {

/// The options of every unit command: where the units are looked for, and the compiler's rules.
std::vector<OptionSpec> UnitOptions();

/// A unit command: the shared synopsis, the search help and UnitOptions() after what.
CliCommand UnitCommand(const char* name, const char* summary, const char* what,
                       ExitStatus (*run)(const ParsedArgs&, std::ostream&, std::ostream&));

/// What a unit command does with a finished analysis: given the analysis and the root file as
/// the command line named it, it returns the report text and the exit status.
using UnitReportStep = std::function<ExitStatus(UnitAnalysisState& analysis,
                                                const std::string& root, std::string& text)>;

/// The run of a unit command: reads the settings (with the command line's folders), makes
/// the root's folder the current folder, analyses the root, lets report write the report,
/// puts the start folder and the settings back, and delivers the report text.
ExitStatus RunUnitAnalysis(const ParsedArgs& args, std::ostream& out, std::ostream& err,
                           const UnitReportStep& report);

/// The line count over the unit file list, as the window's Line Count with "Reuse List"
/// checked makes it; the summary names "Tallion.Files" in sourceFolder (nothing is written).
LineCountRecord CountUnitFiles(const UnitAnalysisState& analysis, const std::string& sourceFolder,
                               bool lazarusForms = false);

/// The unit commands, in the order the help lists them.
CliCommand ListCommand();
CliCommand TreeCommand();
CliCommand DependCommand();
CliCommand ReportCommand();

}  // namespace ravelin::cli
