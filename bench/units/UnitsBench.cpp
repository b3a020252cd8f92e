// Measures the unit analysis and its three reports on a synthetic project.
//   ravelin-units-bench generate DIR UNITS [SEED [USES [FILLER]]]   writes a project into DIR
//   ravelin-units-bench run DIR                                      analyses DIR/Project.dpr
// "run" searches the project's "lib" folder, builds the unit tree and writes the unit file
// listing, the tree chart and the dependency table into memory, and prints the times.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "SyntheticProject.h"
#include "platform/FileSys.h"
#include "settings/LstGlobal.h"
#include "units/UnitDpnd.h"
#include "units/UnitTree.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

int Usage() {
  std::fprintf(stderr,
               "usage: ravelin-units-bench generate DIR UNITS [SEED [USES [FILLER]]]\n"
               "       ravelin-units-bench run DIR\n");
  return 2;
}

int Generate(int argc, char** argv) {
  if (argc < 4) return Usage();
  ravelin::synthetic::TOptions options;
  options.units = std::atoi(argv[3]);
  if (argc > 4) options.seed = static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10));
  if (argc > 5) options.usesPerUnit = std::atoi(argv[5]);
  if (argc > 6) options.fillerLines = std::atoi(argv[6]);
  if (options.units < 1 || options.usesPerUnit < 1 || options.fillerLines < 0) return Usage();
  ravelin::synthetic::WriteProject(argv[2], options);
  return 0;
}

int Run(int argc, char** argv) {
  using namespace ravelin;
  if (argc < 3) return Usage();
  Fs().SetCurrentFolder(argv[2]);
  SearchPaths = "lib";
  UseSearchPath = true;
  std::string root = Fs().FullPath("Project.dpr");

  auto start = Clock::now();
  auto step = start;
  BuildUnitTree(root);
  double analysis = Seconds(step);
  std::size_t nodes = 0;
  TheUnitTree().ForEachWithParent([&](TUnitNode&, TUnitNode*) { ++nodes; });

  std::string listing, chart, table;
  step = Clock::now();
  WriteUnitListText(listing);
  double listTime = Seconds(step);
  step = Clock::now();
  WriteUnitTreeChartText(chart);
  double chartTime = Seconds(step);
  step = Clock::now();
  WriteDependencyTableText(root, table);
  double tableTime = Seconds(step);
  double total = Seconds(start);

  std::printf("files %zu  nodes %zu\n", UnitFiles().Count(), nodes);
  std::printf("analysis %.3f s  listing %.3f s  chart %.3f s  table %.3f s  total %.3f s\n",
              analysis, listTime, chartTime, tableTime, total);
  std::printf("report bytes: listing %zu  chart %zu  table %zu\n", listing.size(), chart.size(),
              table.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc >= 2 && std::string(argv[1]) == "generate") return Generate(argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "run") return Run(argc, argv);
    return Usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
}
