// The uses graph of a unit analysis's records with its cycle report: what the cycles report
// and the graph export are rendered from.
#pragma once

#include <cstdint>
#include <vector>

#include "units/UnitRecords.h"
#include "units/UsesCycles.h"
#include "units/UsesGraph.h"

namespace ravelin {

/// A use that is no edge of the graph: it names no unit of the listing.
inline constexpr std::uint32_t kNoEdge = 0xFFFFFFFF;

/// The records, their uses graph and its cycles.
struct UsesGraphRecords {
  UnitRecords records;                   ///< the analysis's records
  UsesGraph graph;                       ///< unit i is records.units[i]
  std::vector<std::uint32_t> edgeOfUse;  ///< per records.uses: its edge, or kNoEdge
  CycleReport cycles;                    ///< the cycle groups and the per-unit figures
};

/// The uses graph of records: a node per unit of the listing (an unresolved unit has no uses
/// of its own), an edge per use that names a unit of the listing, in the records' order.
UsesGraph MakeUsesGraph(const UnitRecords& records,
                        std::vector<std::uint32_t>* edgeOfUse = nullptr);
/// The records with their graph and its cycle report.
UsesGraphRecords MakeUsesGraphRecords(UnitRecords records, const BreakHintOptions& options = {});

}  // namespace ravelin
