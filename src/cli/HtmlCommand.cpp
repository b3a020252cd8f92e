// ravelin-cli html.
#include "cli/HtmlCommand.h"

#include <sstream>

#include "cli/CompilerOptions.h"
#include "cli/GraphCommands.h"
#include "cli/OutputOptions.h"
#include "cli/UnitCommands.h"
#include "common/HtmlText.h"
#include "common/MachineFormats.h"
#include "common/PathUtil.h"
#include "linecount/CountHtml.h"
#include "units/GraphSvg.h"
#include "units/UnitReports.h"
#include "units/UnitsHtml.h"

namespace ravelin::cli {

namespace {

std::string Item(const std::string& term, const std::string& value) {
  return "<dt>" + term + "</dt><dd>" + value + "</dd>\n";
}

ExitStatus RunHtml(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  if (args.Has("report"))
    throw UsageError("html writes a whole page: give --output FILE, not --report FILE");
  std::ostringstream page;
  const ExitStatus status = RunUnitAnalysis(
      args, page, err,
      [&](UnitAnalysisState& analysis, const std::string& root, std::string& text) {
        const LineCountRecord count =
            CountUnitFiles(analysis, FolderPart(root), FpcDialectFor(args, root));
        text = RenderHtmlReport(MakeUsesGraphRecords(MakeUnitRecords(analysis)), count, Now());
        return ExitStatus::Success;
      });
  DeliverOutput(page.str(), args, out);
  return status;
}

}  // namespace

std::string RenderHtmlReport(const UsesGraphRecords& graph, const LineCountRecord& count,
                             std::time_t time) {
  const std::vector<UnitRecord>& units = graph.records.units;
  std::size_t unresolved = 0;
  for (const UnitRecord& unit : units) unresolved += unit.found ? 0 : 1;
  std::size_t interfaceOnly = 0;
  for (const CycleGroup& group : graph.cycles.groups) interfaceOnly += group.interfaceOnly ? 1 : 0;

  const std::string title = "Ravelin report of " + graph.records.root;
  std::string body = "<header>\n<h1>" + HtmlEscape(title) + "</h1>\n<dl class=\"summary\">\n";
  body += Item("Project", HtmlEscape(graph.records.root));
  body += Item("Date", IsoUtcTime(time));
  body += Item("Units", std::to_string(units.size()) + " (" +
                            std::to_string(units.size() - unresolved) + " found, " +
                            std::to_string(unresolved) + " unresolved)");
  body +=
      Item("Cycle groups", std::to_string(graph.cycles.groups.size()) + " (" +
                               std::to_string(interfaceOnly) + " with an interface-only cycle)");
  body += "</dl>\n" + RenderCountHtmlSummary(count) + "</header>\n";
  body += RenderCountHtmlSection(count);
  body += RenderUnitsHtmlSection(graph);
  body += RenderCyclesHtmlSection(graph);
  body += RenderGraphHtmlSection(graph);
  return HtmlPage(title, body);
}

CliCommand HtmlCommand() {
  CliCommand command = UnitCommand(
      "html", "write one self-contained HTML page: line counts, units, cycles, the uses graph",
      "Writes one HTML page about ROOT that opens offline in any current browser (inline\n"
      "style and a little script, nothing fetched): a header with the totals (units found and\n"
      "unresolved, lines by class, forms, cycle groups); the line count of every unit file,\n"
      "sortable by any column and filterable by name, with the commented share of each file's\n"
      "source lines as a small bar; the units with file, size, time, fan-in, fan-out and cycle\n"
      "group; the cycle groups with their chains, interface-only ones first and marked as\n"
      "errors; and the uses graph as a picture (interface uses solid, implementation uses\n"
      "dashed, cycles red). Above 300 units the picture shows the condensed graph, each cycle\n"
      "group one node; graph --format dot gives the full graph. A build without the graph\n"
      "library says so in place of the picture. Every name is escaped: a name holding <, &,\n"
      "quotes or bytes that are no UTF-8 stays text.",
      RunHtml);
  command.synopsis =
      "[--settings FILE | --no-settings] [--rtl DIR] [--vcl DIR] [--search \"DIR;DIR\"] "
      "[--strict] [--fail-on-cycles[=interface]] [--output FILE] " +
      std::string(kCompilerRulesSynopsis) + " [ROOT]";
  command.options = UnitOptions();
  command.options.push_back(FailOnCyclesOption());
  command.options.push_back(OutputFileOption());
  return command;
}

}  // namespace ravelin::cli
