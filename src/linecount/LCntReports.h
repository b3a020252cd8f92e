// The line count and form reports as fixed-width text, rendered from the record of a run: the
// detailed report (a row per file, then the forms detailed report) or the summary report (and
// the form count summary).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "linecount/LineCountRecord.h"

namespace ravelin {

/// The process-wide state of the line count reports, which outlives engines.
struct LineCounterState {
  /// The directory named by the last "PATH: " line of a detailed report; "A:\" at start.
  std::string LastReportPath = "A:\\";
};
/// The one line counter state of the process; `LineCounter() = {}` puts it back to its start.
LineCounterState& LineCounter();

/// Width of the name column of the line count rows.
inline constexpr int kNameColumnWidth = 14;
/// Width of the name column of the form rows.
inline constexpr int kFormNameWidth = 20;

/// Percentage of count against base, rounded to the nearest whole number with an exact half
/// going to the even neighbour; count must not be negative and base must be above 0.
std::int64_t RoundedPercent(std::int64_t count, std::int64_t base);

/// Renders one run's report as lines (without line ends). The rows of a detailed report
/// update lastReportPath as their "PATH: " lines go by.
class LineCountText {
 public:
  LineCountText(const LineCountRecord& record, bool detailed, std::string& lastReportPath)
      : record_(record), detailed_(detailed), lastReportPath_(lastReportPath) {}

  std::vector<std::string> Lines;      ///< the report text
  std::vector<std::string> FormLines;  ///< the form report text, appended to Lines at the end

  /// The whole report: banner, the "not found" lines where the files were counted, the rows or
  /// the summary, then the form report when there were forms.
  void Render();

  /// Appends the eight banner lines to Lines.
  void WriteBanner();
  /// Appends the detailed report's title, column heads and separator to Lines.
  void WriteDetailHeader();
  /// Appends the detailed report's separator line to Lines.
  void WriteDetailSeparator();
  /// Appends the row of one file (after a "PATH: " line when its folder changed) to Lines.
  void WriteDetailRow(const std::string& name, const TLineCounts& counts);
  /// Appends the separator, the TOTAL row, the files processed line and the %S note to Lines.
  void WriteDetailTotals();
  /// Appends the summary report to Lines.
  void WriteSummary();
  /// Appends the forms detailed report's header to FormLines.
  void WriteFormHeader();
  /// Appends the forms report's separator line to FormLines.
  void WriteFormSeparator();
  /// Appends the row of one form (named after its input file) to FormLines.
  void WriteFormRow(const std::string& name, const TFormCounts& counts);
  /// Appends the separator, the TOTAL row and the forms processed line to FormLines.
  void WriteFormTotals();
  /// Appends the form count summary report to FormLines.
  void WriteFormSummary();

 private:
  const LineCountRecord& record_;
  bool detailed_;
  std::string& lastReportPath_;
};

/// The report of a run as lines; see LineCountText.
std::vector<std::string> RenderLineCountText(const LineCountRecord& record, bool detailed,
                                             std::string& lastReportPath);

}  // namespace ravelin
