// The unit records as CSV.
#include "units/UnitCsv.h"

#include "common/MachineFormats.h"

namespace ravelin {

std::string RenderUnitListCsv(const UnitRecords& records) {
  std::string text = CsvLine({"name", "file", "size", "modified"});
  for (const UnitRecord& unit : records.units) {
    if (unit.found) {
      text +=
          CsvLine({unit.name, unit.entry, std::to_string(unit.size), IsoUtcTime(unit.modified)});
    } else {
      text += CsvLine({unit.name, "", "", ""});
    }
  }
  return text;
}

std::string RenderUsesCsv(const UnitRecords& records) {
  std::string text = CsvLine({"from", "to", "section"});
  for (const UsesRecord& use : records.uses)
    text += CsvLine({use.from, use.to, SectionName(use.section)});
  return text;
}

}  // namespace ravelin
