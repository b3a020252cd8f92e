// The format tables.
#include "cli/Formats.h"

#include "cli/OutputOptions.h"
#include "linecount/LCntReports.h"
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

}  // namespace

const std::vector<Format<CountOutput>>& CountFormats() {
  static const std::vector<Format<CountOutput>> formats = {
      {"text", CountText},
  };
  return formats;
}

const std::vector<Format<UnitOutput>>& UnitFormats() {
  static const std::vector<Format<UnitOutput>> formats = {
      {"text", UnitText},
  };
  return formats;
}

}  // namespace ravelin::cli
