// The format tables.
#include "cli/Formats.h"

#include "cli/OutputOptions.h"
#include "linecount/CountCsv.h"
#include "linecount/CountHtml.h"
#include "linecount/CountJson.h"
#include "linecount/LCntReports.h"
#include "units/UnitCsv.h"
#include "units/UnitJson.h"
#include "units/UnitRecords.h"
#include "units/UnitScan.h"

namespace ravelin::cli {

namespace {

std::string CountText(const CountOutput& output) {
  return JoinLines(
      RenderLineCountText(output.record, output.detailed, LineCounter().LastReportPath),
      output.eol);
}

std::string UnitText(const UnitOutput& output) {
  std::string text;
  ReportWriter f;
  f.Eol = output.eol;
  OpenReportText(f, text);
  WriteUnitReport(output.kind, output.analysis, output.rootName, f);
  return text;
}

std::string UnitCsv(const UnitOutput& output) {
  const UnitRecords records = MakeUnitRecords(output.analysis);
  return output.kind == UnitReportKind::List ? RenderUnitListCsv(records) : RenderUsesCsv(records);
}

}  // namespace

const std::vector<Format<CountOutput>>& CountFormats() {
  static const std::vector<Format<CountOutput>> formats = {
      {"text", CountText},
      {"json", [](const CountOutput& o) { return RenderCountJson(o.record); }},
      {"csv", [](const CountOutput& o) { return RenderCountCsv(o.record); }},
      {"html", [](const CountOutput& o) { return RenderCountHtml(o.record); }},
  };
  return formats;
}

const std::vector<Format<UnitOutput>>& UnitFormats() {
  static const std::vector<Format<UnitOutput>> formats = {
      {"text", UnitText},
      {"json", [](const UnitOutput& o) { return RenderUnitJson(MakeUnitRecords(o.analysis)); }},
      {"csv", UnitCsv},
  };
  return formats;
}

}  // namespace ravelin::cli
