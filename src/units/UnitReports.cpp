// The unit file listing and the unit tree chart, with the report banner and report file that
// all three unit reports share.
#include <algorithm>
#include <clocale>
#include <cstdio>

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "units/UnitTree.h"

namespace ravelin {

std::string ReportBanner = "RAVELIN REPORT";

// ---------------------------------------------------------------------------------------
// Report files

void TReportFile::WriteLine(std::string_view line) {
  Text.append(line);
  Text.append("\r\n");
}

void TReportFile::Close() {
  std::string text = std::move(Text);
  Text.clear();
  if (!FileName.empty())
    Fs().AppendReport(FileName, text, ReportStart::AtEnd);
  else if (Sink != nullptr)
    Sink->append(text);
}

void OpenReportFile(TReportFile& f, const std::string& fileName) {
  f.FileName = fileName;
  f.Sink = nullptr;
  f.Text.clear();
  Fs().AppendReport(fileName, "", ReportStart::AtEnd);  // creates a missing file, fails early
}

void OpenReportText(TReportFile& f, std::string& out) {
  f.FileName.clear();
  f.Sink = &out;
  f.Text.clear();
}

void WriteReportBanner(TReportFile& f) {
  f.WriteLine(CenterText(ReportBanner, 100));
  f.WriteLine("");
}

namespace {

/// Writes a report: body writes into the open file, which is closed when body is done. When
/// body fails, what it wrote is dropped: a report reaches its file whole or not at all.
template <class Body>
void RunReport(TReportFile& f, Body&& body) {
  try {
    body();
  } catch (...) {
    f.Text.clear();
    throw;
  }
  f.Close();
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Times and sizes

namespace {

TReportClock& Clock() {
  static TReportClock clock;
  return clock;
}

std::time_t Now() {
  return Clock() ? Clock()() : std::time(nullptr);
}

std::tm LocalTime(std::time_t time) {
  std::tm parts{};
  if (localtime_r(&time, &parts) == nullptr) parts = std::tm{};
  return parts;
}

}  // namespace

void SetReportClock(TReportClock clock) {
  Clock() = std::move(clock);
}

std::string FormatBannerTime(std::time_t time) {
  std::tm parts = LocalTime(time);
  char month[64];
  if (std::strftime(month, sizeof month, "%b", &parts) == 0) month[0] = '\0';
  char text[128];
  std::snprintf(text, sizeof text, "%04d %s %02d @ %02d:%02d", parts.tm_year + 1900, month,
                parts.tm_mday, parts.tm_hour, parts.tm_min);
  return text;
}

std::string FormatFileTime(std::time_t time) {
  std::tm parts = LocalTime(time);
  char text[64];
  std::snprintf(text, sizeof text, "%04d.%02d.%02d %02d:%02d:%02d", parts.tm_year + 1900,
                parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  return text;
}

std::string FormatFileSize(std::uint64_t size) {
  if (size == 0) return {};
  std::string separator;
  if (const std::lconv* conv = std::localeconv(); conv != nullptr && conv->thousands_sep != nullptr)
    separator = conv->thousands_sep;
  if (separator.empty()) separator = ",";
  std::string digits = std::to_string(size);
  std::string result;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) result += separator;
    result += digits[i];
  }
  return result;
}

// ---------------------------------------------------------------------------------------
// Unit file listing

int CompareFileNames(std::string_view name1, std::string_view name2) {
  return CompareUpperText(NamePart(name1), NamePart(name2));
}

namespace {

std::string ListingRow(int number, const std::string& fileName) {
  std::string row = IntToStrWidth(number, 5);
  row += ": ";
  row += PadRight(BaseNameOf(fileName), 20);
  row += ' ';
  FileStat st = Fs().Stat(fileName);
  if (st.exists && !st.isDir) {
    row += PadLeftWith(FormatFileSize(st.size), ' ', 13);
    row += "  ";
    row += FormatFileTime(st.mtime);
  } else {
    row += std::string(13, '.');
    row += "  ";
    row += std::string(19, '.');
  }
  row += "  ";
  row += fileName;
  return row;
}

void WriteUnitListTo(TReportFile& f) {
  RunReport(f, [&] {
    ReportBanner = "RAVELIN REPORT " + FormatBannerTime(Now());
    WriteReportBanner(f);
    f.WriteLine("");
    f.WriteLine(CenterText("Unit File Listing for " + StartFile, 100));
    f.WriteLine("");
    f.WriteLine("Source Files:");
    f.WriteLine("  No.  Unit Name            File Size      Last Changed         File Name");
    f.WriteLine("-----  -------------------- -------------  -------------------  ------------");
    // The rows in file-name order; the list itself keeps its normal order.
    std::vector<std::string> names = UnitFiles().Names();
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
      return CompareFileNames(a, b) < 0;
    });
    int number = 0;
    for (const std::string& name : names) f.WriteLine(ListingRow(++number, name));
    f.WriteLine("");
    f.WriteLine("");
  });
}

}  // namespace

void WriteUnitList(const std::string& reportFileName) {
  TReportFile f;
  OpenReportFile(f, reportFileName);
  WriteUnitListTo(f);
}

void WriteUnitListText(std::string& out) {
  TReportFile f;
  OpenReportText(f, out);
  WriteUnitListTo(f);
}

// ---------------------------------------------------------------------------------------
// Unit tree chart

namespace {

const std::string kBranchMarker = "   +-";
const std::string kLastMarker = "   =-";

// The chart being written.
std::string CurrentPrefix;
std::string PreviousPrefix;
std::string BranchMarker = kBranchMarker;
std::string LastMarker = kLastMarker;
TReportFile* ChartFile = nullptr;

void WriteUnitTreeChartTo(TReportFile& f) {
  RunReport(f, [&] {
    WriteReportBanner(f);
    f.WriteLine("");
    f.WriteLine(CenterText("Unit Tree Chart for " + StartFile, 100));
    f.WriteLine("");
    CurrentPrefix.clear();
    PreviousPrefix.clear();
    BranchMarker = kBranchMarker;
    LastMarker = kLastMarker;
    ChartFile = &f;
    try {
      TheUnitTree().WalkChart(WriteChartLine);
    } catch (...) {
      ChartFile = nullptr;
      throw;
    }
    ChartFile = nullptr;
  });
}

}  // namespace

std::string ChartPrefix(std::string_view previous, bool hasSibling, int level) {
  if (level <= 0) return {};
  std::size_t keep = static_cast<std::size_t>(level - 1) * 5;
  std::string prefix(previous.substr(0, std::min(keep, previous.size())));
  prefix += hasSibling ? BranchMarker : LastMarker;
  prefix = ReplaceAll(prefix, TrimPrintable(BranchMarker) + "   ", "|    ");
  prefix = ReplaceAll(prefix, TrimPrintable(LastMarker) + "   ", "     ");
  return prefix;
}

void WriteChartLine(TUnitNode& node) {
  const TUnitTree& tree = TheUnitTree();
  CurrentPrefix = ChartPrefix(PreviousPrefix, tree.HasSibling, tree.Level);
  if (ChartFile != nullptr) {
    std::string line = CurrentPrefix;
    line += ' ';
    line += node.Kind == 0 ? 'H' : 'V';
    line += ':';
    line += node.Name;
    ChartFile->WriteLine(line);
  }
  PreviousPrefix = CurrentPrefix;
}

void WriteUnitTreeChart(const std::string& reportFileName) {
  TReportFile f;
  OpenReportFile(f, reportFileName);
  WriteUnitTreeChartTo(f);
}

void WriteUnitTreeChartText(std::string& out) {
  TReportFile f;
  OpenReportText(f, out);
  WriteUnitTreeChartTo(f);
}

}  // namespace ravelin
