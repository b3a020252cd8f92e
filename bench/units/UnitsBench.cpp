// Measures the unit analysis and its three reports on a synthetic project.
//   ravelin-units-bench generate DIR UNITS [SEED [USES [FILLER [LENGTHS]]]]  writes a project
//   ravelin-units-bench run DIR                                      analyses DIR/Project.dpr
//   ravelin-units-bench cycles DIR UNITS [SEED [LENGTHS]]            times the cycle search
// "run" searches the project's "lib" folder, builds the unit tree and writes the unit file
// listing, the tree chart and the dependency table into memory, and prints the times.
// "cycles" writes a project with planted cycles (LENGTHS: comma-separated, default below) into
// DIR and times its analysis with the unit file listing (what "list" does); then it times the
// cycle search and the condensed graph, best of 5, on the in-memory uses graph of the same
// options (same units, uses per unit and planted cycles), on a chain of UNITS units and on a
// ring of UNITS units.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "SyntheticGraph.h"
#include "SyntheticProject.h"
#include "platform/FileSys.h"
#include "settings/LstGlobal.h"
#include "units/UnitReports.h"
#include "units/UnitScan.h"
#include "units/UsesCondensation.h"
#include "units/UsesCycles.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

int Usage() {
  std::fprintf(stderr,
               "usage: ravelin-units-bench generate DIR UNITS [SEED [USES [FILLER [LENGTHS]]]]\n"
               "       ravelin-units-bench run DIR\n"
               "       ravelin-units-bench cycles DIR UNITS [SEED [LENGTHS]]\n");
  return 2;
}

/// The cycle lengths of a comma-separated list ("2,3,50").
std::vector<int> Lengths(const std::string& list) {
  std::vector<int> lengths;
  std::size_t at = 0;
  do {
    lengths.push_back(std::atoi(list.c_str() + at));
    at = list.find(',', at);
  } while (at++ != std::string::npos);
  return lengths;
}

int Generate(int argc, char** argv) {
  if (argc < 4) return Usage();
  ravelin::synthetic::TOptions options;
  options.units = std::atoi(argv[3]);
  if (argc > 4) options.seed = static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10));
  if (argc > 5) options.usesPerUnit = std::atoi(argv[5]);
  if (argc > 6) options.fillerLines = std::atoi(argv[6]);
  if (argc > 7) options.cycleLengths = Lengths(argv[7]);
  if (options.units < 1 || options.usesPerUnit < 1 || options.fillerLines < 0) return Usage();
  ravelin::synthetic::WriteProject(argv[2], options);
  return 0;
}

/// A unit report of the last analysis as text.
std::string UnitReportText(ravelin::UnitReportKind kind, const std::string& root) {
  std::string text;
  ravelin::ReportWriter f;
  ravelin::OpenReportText(f, text);
  ravelin::WriteUnitReport(kind, ravelin::UnitAnalysis(), root, f);
  return text;
}

int Run(int argc, char** argv) {
  using namespace ravelin;
  if (argc < 3) return Usage();
  Fs().SetCurrentFolder(argv[2]);
  UnitLookup lookup;
  lookup.searchPaths = {"lib"};
  lookup.useSearchPath = true;
  std::string root = Fs().FullPath("Project.dpr");

  auto start = Clock::now();
  auto step = start;
  BuildUnitTree(root, lookup);
  double analysis = Seconds(step);
  std::size_t nodes = 0;
  UnitAnalysis().UnitTree.ForEachWithParent([&](TUnitNode&, TUnitNode*) { ++nodes; });

  std::string listing, chart, table;
  step = Clock::now();
  listing = UnitReportText(UnitReportKind::List, root);
  double listTime = Seconds(step);
  step = Clock::now();
  chart = UnitReportText(UnitReportKind::Tree, root);
  double chartTime = Seconds(step);
  step = Clock::now();
  table = UnitReportText(UnitReportKind::Depend, root);
  double tableTime = Seconds(step);
  double total = Seconds(start);

  std::printf("files %zu  nodes %zu\n", UnitAnalysis().UnitFiles.Count(), nodes);
  std::printf("analysis %.3f s  listing %.3f s  chart %.3f s  table %.3f s  total %.3f s\n",
              analysis, listTime, chartTime, tableTime, total);
  std::printf("report bytes: listing %zu  chart %zu  table %zu\n", listing.size(), chart.size(),
              table.size());
  return 0;
}

/// The best of 5 times of work.
template <class Work>
double Best(Work&& work) {
  double best = 1e9;
  for (int run = 0; run < 5; ++run) {
    auto start = Clock::now();
    work();
    best = std::min(best, Seconds(start));
  }
  return best;
}

/// Times the cycle search on graph and prints what it found.
void TimeCycles(const char* title, const ravelin::UsesGraph& graph) {
  using namespace ravelin;
  CycleReport report;
  double cycles = Best([&] { report = FindCycles(graph); });
  double condense = Best([&] { Condense(graph, report); });
  std::size_t interfaceOnly = 0, exact = 0, largest = 0;
  for (const CycleGroup& group : report.groups) {
    interfaceOnly += group.interfaceOnly;
    exact += group.breakHint.exact;
    largest = std::max(largest, group.units.size());
  }
  std::printf(
      "%-8s units %6u  uses %7u  groups %3zu (interface-only %3zu, exact hints %3zu, "
      "largest %5zu)  cycles %.4f s  condense %.4f s\n",
      title, graph.UnitCount(), graph.UseCount(), report.groups.size(), interfaceOnly, exact,
      largest, cycles, condense);
}

int Cycles(int argc, char** argv) {
  using namespace ravelin;
  if (argc < 4) return Usage();
  synthetic::TOptions options;
  options.units = std::atoi(argv[3]);
  if (argc > 4) options.seed = static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10));
  options.cycleLengths = Lengths(argc > 5 ? argv[5] : "1,2,2,3,3,4,5,8,13,21,50,100,500,1000,5000");
  if (options.units < 2) return Usage();
  std::size_t planted = synthetic::PlantCycles(options).size();

  synthetic::WriteProject(argv[2], options);
  Fs().SetCurrentFolder(argv[2]);
  UnitLookup lookup;
  lookup.searchPaths = {"lib"};
  lookup.useSearchPath = true;
  auto start = Clock::now();
  BuildUnitTree(Fs().FullPath("Project.dpr"), lookup);
  const std::string listing = UnitReportText(UnitReportKind::List, "Project.dpr");
  std::printf("list     files %6zu  analysis and listing %.3f s  (planted %zu cycles, %zu uses)\n",
              UnitAnalysis().UnitFiles.Count(), Seconds(start), options.cycleLengths.size(),
              planted);

  auto start2 = Clock::now();
  UsesGraph graph = synthetic::SyntheticUsesGraph(options);
  std::printf("graph    built in %.4f s\n", Seconds(start2));
  TimeCycles("planted", graph);
  std::vector<std::string> names;
  std::vector<UsesEdge> chain;
  for (std::uint32_t i = 0; i < graph.UnitCount(); ++i) {
    names.push_back(graph.UnitName(i));
    if (i > 0) chain.push_back({i - 1, i, UsesSection::Interface});
  }
  TimeCycles("chain", UsesGraph(names, chain));
  chain.push_back({graph.UnitCount() - 1, 0, UsesSection::Implementation});
  TimeCycles("ring", UsesGraph(names, chain));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc >= 2 && std::string(argv[1]) == "generate") return Generate(argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "run") return Run(argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "cycles") return Cycles(argc, argv);
    return Usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
}
