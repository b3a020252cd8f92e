// The unit records as JSON.
#include "units/UnitJson.h"

namespace ravelin {

JsonDocument UnitJson(const UnitRecords& records) {
  JsonDocument document = JsonDocument::object();
  document["version"] = kMachineFormatVersion;
  document["root"] = JsonName(records.root);
  JsonDocument& units = document["units"] = JsonDocument::array();
  for (const UnitRecord& unit : records.units) {
    JsonDocument row = JsonDocument::object();
    row["name"] = JsonName(unit.name);
    row["file"] = unit.found ? JsonName(unit.entry) : JsonDocument();
    row["size"] = unit.found ? JsonDocument(unit.size) : JsonDocument();
    row["modified"] = unit.found ? JsonDocument(IsoUtcTime(unit.modified)) : JsonDocument();
    units.push_back(std::move(row));
  }
  JsonDocument& uses = document["uses"] = JsonDocument::array();
  for (const UsesRecord& use : records.uses) {
    JsonDocument row = JsonDocument::object();
    row["from"] = JsonName(use.from);
    row["to"] = JsonName(use.to);
    row["section"] = SectionName(use.section);
    row["in"] = use.inPath ? JsonName(*use.inPath) : JsonDocument();
    uses.push_back(std::move(row));
  }
  return document;
}

std::string RenderUnitJson(const UnitRecords& records) {
  return JsonText(UnitJson(records));
}

}  // namespace ravelin
