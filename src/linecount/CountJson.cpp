// The line count record as JSON.
#include "linecount/CountJson.h"

namespace ravelin {

namespace {

void PutCounts(JsonDocument& object, const TLineCounts& counts) {
  object["blank"] = counts.Blank;
  object["comment"] = counts.Comment;
  object["source"] = counts.Source;
  object["commented"] = counts.Commented;
  object["total"] = counts.Total;
}

}  // namespace

JsonDocument CountJson(const LineCountRecord& record) {
  JsonDocument document = JsonDocument::object();
  document["version"] = kMachineFormatVersion;
  JsonDocument& files = document["files"] = JsonDocument::array();
  for (const CountedFile& file : record.files) {
    JsonDocument row = JsonDocument::object();
    row["name"] = JsonName(file.name);
    row["found"] = file.found;
    if (!file.skipped.empty()) row["skipped"] = JsonName(file.skipped);
    PutCounts(row, file.counts);
    files.push_back(std::move(row));
  }
  JsonDocument& forms = document["forms"] = JsonDocument::array();
  for (const CountedForm& form : record.forms) {
    JsonDocument row = JsonDocument::object();
    row["name"] = JsonName(form.name);
    row["objects"] = form.counts.Objects;
    row["lines"] = form.counts.Lines;
    row["size"] = form.counts.Size;
    forms.push_back(std::move(row));
  }
  JsonDocument& totals = document["totals"] = JsonDocument::object();
  PutCounts(totals, record.Totals);
  totals["files"] = record.FileCount;
  totals["forms"] = record.FormCount;
  if (record.SkippedCount > 0) totals["skipped"] = record.SkippedCount;
  totals["objects"] = record.FormTotals.Objects;
  totals["lines"] = record.FormTotals.Lines;
  totals["size"] = record.FormTotals.Size;
  return document;
}

std::string RenderCountJson(const LineCountRecord& record) {
  return JsonText(CountJson(record));
}

}  // namespace ravelin
