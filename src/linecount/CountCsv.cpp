// The line count record as CSV.
#include "linecount/CountCsv.h"

#include "common/MachineFormats.h"

namespace ravelin {

std::string RenderCountCsv(const LineCountRecord& record) {
  std::string text = CsvLine({"name", "found", "blank", "comment", "source", "commented", "total"});
  for (const CountedFile& file : record.files) {
    const TLineCounts& c = file.counts;
    text += CsvLine({file.name,
                     !file.skipped.empty() ? "skipped"
                     : file.found          ? "true"
                                           : "false",
                     std::to_string(c.Blank), std::to_string(c.Comment), std::to_string(c.Source),
                     std::to_string(c.Commented), std::to_string(c.Total)});
  }
  return text;
}

}  // namespace ravelin
