// The uses graph of a synthetic project built in memory, without files: ten unresolved units
// ("Lib0" to "Lib9") and then "Unit00000" onwards, in listing order; each unit names about as
// many units as a generated project's unit, in its interface and implementation sections,
// unresolved ones or later units only, and the planted cycles of the options come on top.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "SyntheticProject.h"
#include "units/UsesGraph.h"

namespace ravelin::synthetic {

/// The in-memory uses graph of options (same options, same graph).
inline UsesGraph SyntheticUsesGraph(const TOptions& options) {
  constexpr std::uint32_t kLibraries = 10;
  detail::TRandom random(options.seed);
  const auto n = static_cast<std::uint32_t>(options.units);
  std::vector<std::string> names;
  for (std::uint32_t i = 0; i < kLibraries; ++i) names.push_back("Lib" + std::to_string(i));
  for (std::uint32_t i = 0; i < n; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Unit%05u", i);
    names.push_back(name);
  }
  std::vector<UsesEdge> uses;
  const auto perUnit = static_cast<std::uint32_t>(options.usesPerUnit);
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::uint32_t total = random.Below(perUnit) + perUnit / 2 + 1;
    const std::uint32_t inInterface = random.Below(total + 1);
    for (std::uint32_t k = 0; k < total; ++k) {
      const bool library = random.Chance(8) || i + 1 == n;
      const std::uint32_t to =
          library ? random.Below(kLibraries) : kLibraries + i + 1 + random.Below(n - i - 1);
      uses.push_back({kLibraries + i, to,
                      k < inInterface ? UsesSection::Interface : UsesSection::Implementation});
    }
  }
  for (const TPlantedUse& use : PlantCycles(options))
    uses.push_back({kLibraries + static_cast<std::uint32_t>(use.from),
                    kLibraries + static_cast<std::uint32_t>(use.to),
                    use.inInterface ? UsesSection::Interface : UsesSection::Implementation});
  return UsesGraph(std::move(names), std::move(uses));
}

}  // namespace ravelin::synthetic
