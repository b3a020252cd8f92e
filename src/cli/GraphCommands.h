// ravelin-cli's commands over the uses graph (cycles, graph) and the cycle gate that every unit
// command takes (--fail-on-cycles).
#pragma once

#include <ostream>
#include <string>

#include "cli/CliMain.h"

namespace ravelin {
struct UnitAnalysisState;
}

namespace ravelin::cli {

/// What --fail-on-cycles fails on.
enum class CycleGate { Off, AnyCycle, InterfaceOnly };

/// The --fail-on-cycles[=interface] option.
OptionSpec FailOnCyclesOption();
/// The gate the arguments ask for. Throws UsageError for a value other than "interface".
CycleGate ChooseCycleGate(const ParsedArgs& args);
/// Condition, and in message the line to show on standard error, when the analysis has the
/// cycles gate fails on; else Success.
ExitStatus CheckCycleGate(CycleGate gate, const UnitAnalysisState& analysis, std::string& message);

/// The cycles command: the cycle groups of the uses graph, as text or JSON.
CliCommand CyclesCommand();
/// The graph command: the uses graph as DOT, GraphML or JSON.
CliCommand GraphCommand();

}  // namespace ravelin::cli
