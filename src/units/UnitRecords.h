// The records of one unit analysis that the reports are rendered from: the units in the order
// of the unit listing, and every use of a unit by another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "units/UsesGraph.h"

namespace ravelin {

struct UnitAnalysisState;

/// A unit index that names no unit.
inline constexpr std::size_t kNoUnit = std::numeric_limits<std::size_t>::max();

/// One entry of the unit file list.
struct UnitRecord {
  std::string name;          ///< the unit name: the entry's file name without folder and extension
  std::string entry;         ///< the entry as the list holds it: a full path, or a bare file name
  bool found = false;        ///< a file of that name exists (the listing shows its size and time)
  std::uint64_t size = 0;    ///< its size in bytes, when found
  std::time_t modified = 0;  ///< its time of last change, when found
};

/// One unit named in a uses clause.
struct UsesRecord {
  std::string from;                         ///< the unit name of the file whose clause it is
  std::string to;                           ///< the unit name as the clause spells it
  UsesSection section = UsesSection::Main;  ///< interface, implementation, or main
  std::optional<std::string> inPath;        ///< the path after "in", when given
  std::size_t fromUnit = kNoUnit;           ///< the index of the file's unit in units
  std::size_t toUnit = kNoUnit;             ///< the index of the named unit's entry in units
};

/// The unit analysis as records.
struct UnitRecords {
  std::string root;               ///< the root file, as the analysis was given it
  std::vector<UnitRecord> units;  ///< the unit file list in the listing's order (by file name)
  std::vector<UsesRecord> uses;   ///< every use, in the order the analysis met them
};

/// The records of an analysis; sizes and times are read from the disk now.
UnitRecords MakeUnitRecords(const UnitAnalysisState& state);

/// "interface", "implementation" or "main".
const char* SectionName(UsesSection section);

}  // namespace ravelin
