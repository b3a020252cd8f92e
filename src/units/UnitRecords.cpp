// The records of a unit analysis.
#include "units/UnitRecords.h"

#include <algorithm>
#include <unordered_map>

#include "common/PathUtil.h"
#include "platform/FileSys.h"
#include "units/UnitReports.h"
#include "units/UnitScan.h"

namespace ravelin {

const char* SectionName(UsesSection section) {
  switch (section) {
    case UsesSection::Interface:
      return "interface";
    case UsesSection::Implementation:
      return "implementation";
    default:
      return "main";
  }
}

UnitRecords MakeUnitRecords(const UnitAnalysisState& state) {
  UnitRecords records;
  records.root = state.StartFile;

  // The listing's order: by file name without folder, in capitals; equal names keep the
  // list's own order.
  std::vector<std::string> names = state.UnitFiles.Names();
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return CompareFileNames(a, b) < 0;
  });
  std::unordered_map<std::string, std::size_t> indexOf;  // list entry -> unit index
  for (std::string& entry : names) {
    UnitRecord unit;
    unit.name = BaseNameOf(entry);
    const FileStat stat = Fs().Stat(entry);
    unit.found = stat.exists && !stat.isDir;
    if (unit.found) {
      unit.size = stat.size;
      unit.modified = stat.mtime;
    }
    indexOf.emplace(entry, records.units.size());
    unit.entry = std::move(entry);
    records.units.push_back(std::move(unit));
  }

  auto unitOf = [&](const std::string* entry) {
    if (entry == nullptr) return kNoUnit;
    auto it = indexOf.find(*entry);
    return it == indexOf.end() ? kNoUnit : it->second;
  };
  records.uses.reserve(state.Uses.size());
  for (const UsesMention& mention : state.Uses) {
    UsesRecord use;
    use.fromUnit = unitOf(mention.from);
    use.toUnit = unitOf(mention.to);
    use.from = mention.from != nullptr ? BaseNameOf(*mention.from) : std::string();
    use.to = mention.node != nullptr ? mention.node->Name : std::string();
    use.section = mention.section;
    use.inPath = mention.inPath;
    records.uses.push_back(std::move(use));
  }
  return records;
}

}  // namespace ravelin
