// The unit reports as fixed-width text: the report file they share with its banner, the unit
// file listing, the unit tree chart, and the one entry point that writes any of the three.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace ravelin {

struct UnitAnalysisState;
struct UnitRecords;
class TUnitTree;
class TUnitNode;

/// The width the banner and the titles of the unit reports are centred in.
inline constexpr int kReportWidth = 100;

/// Which unit report a command writes: the unit file listing, the unit tree chart or the
/// dependency table.
enum class UnitReportKind { List, Tree, Depend };

/// A report being written: lines are collected and reach their target when it is closed.
struct ReportWriter {
  /// The report file; empty when the text goes to Sink instead.
  std::string FileName;
  /// Where the text goes when FileName is empty.
  std::string* Sink = nullptr;
  /// The text written and not yet closed.
  std::string Text;
  /// What ends each line: CR LF, or LF for pipes.
  std::string Eol = "\r\n";

  /// Writes line followed by Eol.
  void WriteLine(std::string_view line);
  /// Ends the current line.
  void WriteLineEnd() { Text.append(Eol); }
  /// Appends Text to the file in one piece (FileSystem::AppendReport) or to Sink; Text
  /// becomes empty.
  void Close();
};

/// Binds f to fileName, creating the file when it is missing (appending otherwise).
void OpenReportFile(ReportWriter& f, const std::string& fileName);
/// Binds f to the text out: the report is appended to out when f is closed.
void OpenReportText(ReportWriter& f, std::string& out);
/// Writes banner centred in 100 characters, then an empty line.
void WriteReportBanner(ReportWriter& f, const std::string& banner);

/// The clock of the report banner: the current time as seconds since the epoch.
using ReportClock = std::function<std::time_t()>;
/// Replaces the banner's clock (tests); an empty clock restores the real one.
void SetReportClock(ReportClock clock);
/// The time the report clock gives now.
std::time_t Now();
/// "yyyy mmm dd @ hh:mm" of a time, local time, the locale's short month name.
std::string FormatBannerTime(std::time_t time);
/// "yyyy.mm.dd hh:mm:ss" of a time, local time.
std::string FormatFileTime(std::time_t time);
/// A size with thousands separated by the locale's separator (a comma when it has none);
/// empty for 0.
std::string FormatFileSize(std::uint64_t size);

/// -1, 0 or 1: the order of two files by their names without folder, in capitals.
int CompareFileNames(std::string_view name1, std::string_view name2);

/// Writes the unit file listing of records into f, under banner.
void RenderUnitList(const UnitRecords& records, const std::string& banner, ReportWriter& f);

/// The prefix of a chart line: empty on level 0, else previous cut to (level - 1) x 5
/// characters and the node's own marker, with the markers of ancestors turned into "|" or
/// blanks.
std::string ChartPrefix(std::string_view previous, bool hasSibling, int level);

/// The unit tree chart being written: the chart lines of a tree, one per node.
class UnitTreeChart {
 public:
  explicit UnitTreeChart(ReportWriter& f) : f_(f) {}
  /// The banner, the title naming startFile, then a line per node of tree in chart order.
  void Write(TUnitTree& tree, const std::string& startFile, const std::string& banner);
  /// Writes the chart line of node, whose level and sibling tree's walk gives.
  void WriteChartLine(const TUnitTree& tree, const TUnitNode& node);

  std::string CurrentPrefix;   ///< prefix of the line being written
  std::string PreviousPrefix;  ///< prefix of the line written last

 private:
  ReportWriter& f_;
};

/// Writes the report of kind for the analysis into f: the listing (which first stamps the
/// analysis's banner with the current time), the chart, or the dependency table titled with
/// rootName. A report reaches f's target whole or not at all.
void WriteUnitReport(UnitReportKind kind, UnitAnalysisState& state, const std::string& rootName,
                     ReportWriter& f);

/// The unit file listing of the last analysis, appended to reportFileName (created when
/// missing).
void WriteUnitList(const std::string& reportFileName);
/// The unit tree chart of the last analysis, appended to reportFileName.
void WriteUnitTreeChart(const std::string& reportFileName);

}  // namespace ravelin
