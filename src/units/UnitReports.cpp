// The unit file listing and the unit tree chart, with the report file and the banner that all
// three unit reports share.
#include "units/UnitReports.h"

#include <algorithm>
#include <clocale>
#include <cstdio>

#include "common/PathUtil.h"
#include "common/VornString.h"
#include "platform/FileSys.h"
#include "platform/ProcessSetup.h"
#include "units/UnitDpnd.h"
#include "units/UnitRecords.h"
#include "units/UnitScan.h"

namespace ravelin {

// ---------------------------------------------------------------------------------------
// Report files

void ReportWriter::WriteLine(std::string_view line) {
  Text.append(line);
  Text.append(Eol);
}

void ReportWriter::Close() {
  std::string text = std::move(Text);
  Text.clear();
  if (!FileName.empty())
    Fs().AppendReport(FileName, text, ReportStart::AtEnd);
  else if (Sink != nullptr)
    Sink->append(text);
}

void OpenReportFile(ReportWriter& f, const std::string& fileName) {
  f.FileName = fileName;
  f.Sink = nullptr;
  f.Text.clear();
  Fs().AppendReport(fileName, "", ReportStart::AtEnd);  // creates a missing file, fails early
}

void OpenReportText(ReportWriter& f, std::string& out) {
  f.FileName.clear();
  f.Sink = &out;
  f.Text.clear();
}

void WriteReportBanner(ReportWriter& f, const std::string& banner) {
  f.WriteLine(CenterText(banner, kReportWidth));
  f.WriteLine("");
}

// ---------------------------------------------------------------------------------------
// Times and sizes

namespace {

ReportClock& Clock() {
  static ReportClock clock;
  return clock;
}

std::tm LocalTime(std::time_t time) {
  std::tm parts{};
#ifdef _WIN32
  if (localtime_s(&parts, &time) != 0) parts = std::tm{};
#else
  if (localtime_r(&time, &parts) == nullptr) parts = std::tm{};
#endif
  return parts;
}

}  // namespace

std::time_t Now() {
  return Clock() ? Clock()() : std::time(nullptr);
}

void SetReportClock(ReportClock clock) {
  Clock() = std::move(clock);
}

std::string FormatBannerTime(std::time_t time) {
  std::tm parts = LocalTime(time);
  char month[64];
  if (std::strftime(month, sizeof month, "%b", &parts) == 0) month[0] = '\0';
  char text[160];
  std::snprintf(text, sizeof text, "%04d %s %02d @ %02d:%02d", parts.tm_year + 1900,
                LocaleTextAsUtf8(LC_TIME, month).c_str(), parts.tm_mday, parts.tm_hour,
                parts.tm_min);
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
    separator = LocaleTextAsUtf8(LC_NUMERIC, conv->thousands_sep);
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

/// Width of the unit name column of the listing (longer names push the row right).
constexpr int kUnitNameWidth = 20;
/// Width of the size column of the listing.
constexpr int kFileSizeWidth = 13;
/// Width of the time column of the listing: "yyyy.mm.dd hh:mm:ss".
constexpr int kFileTimeWidth = 19;

std::string ListingRow(int number, const UnitRecord& unit) {
  std::string row = IntToStrWidth(number, 5);
  row += ": ";
  row += PadRight(unit.name, kUnitNameWidth);
  row += ' ';
  if (unit.found) {
    row += PadLeftWith(FormatFileSize(unit.size), ' ', kFileSizeWidth);
    row += "  ";
    row += FormatFileTime(unit.modified);
  } else {
    row += std::string(kFileSizeWidth, '.');
    row += "  ";
    row += std::string(kFileTimeWidth, '.');
  }
  row += "  ";
  row += unit.entry;
  return row;
}

}  // namespace

void RenderUnitList(const UnitRecords& records, const std::string& banner, ReportWriter& f) {
  WriteReportBanner(f, banner);
  f.WriteLine("");
  f.WriteLine(CenterText("Unit File Listing for " + records.root, kReportWidth));
  f.WriteLine("");
  f.WriteLine("Source Files:");
  f.WriteLine("  No.  Unit Name            File Size      Last Changed         File Name");
  f.WriteLine("-----  -------------------- -------------  -------------------  ------------");
  int number = 0;
  for (const UnitRecord& unit : records.units) f.WriteLine(ListingRow(++number, unit));
  f.WriteLine("");
  f.WriteLine("");
}

// ---------------------------------------------------------------------------------------
// Unit tree chart

namespace {

/// The marker of a node that has a later sibling.
constexpr std::string_view kBranchMarker = "   +-";
/// The marker of the last node of its sibling chain.
constexpr std::string_view kLastMarker = "   =-";
/// Every depth step of the chart is this wide.
constexpr std::size_t kChartStep = 5;

}  // namespace

std::string ChartPrefix(std::string_view previous, bool hasSibling, int level) {
  if (level <= 0) return {};
  std::size_t keep = static_cast<std::size_t>(level - 1) * kChartStep;
  std::string prefix(previous.substr(0, std::min(keep, previous.size())));
  prefix += hasSibling ? kBranchMarker : kLastMarker;
  prefix = ReplaceAll(prefix, TrimPrintable(kBranchMarker) + "   ", "|    ");
  prefix = ReplaceAll(prefix, TrimPrintable(kLastMarker) + "   ", "     ");
  return prefix;
}

void UnitTreeChart::Write(TUnitTree& tree, const std::string& startFile,
                          const std::string& banner) {
  WriteReportBanner(f_, banner);
  f_.WriteLine("");
  f_.WriteLine(CenterText("Unit Tree Chart for " + startFile, kReportWidth));
  f_.WriteLine("");
  CurrentPrefix.clear();
  PreviousPrefix.clear();
  tree.WalkChart([&](TUnitNode& node) { WriteChartLine(tree, node); });
}

void UnitTreeChart::WriteChartLine(const TUnitTree& tree, const TUnitNode& node) {
  CurrentPrefix = ChartPrefix(PreviousPrefix, tree.HasSibling, tree.Level);
  std::string line = CurrentPrefix;
  line += ' ';
  line += node.Kind == 0 ? 'H' : 'V';
  line += ':';
  line += node.Name;
  f_.WriteLine(line);
  PreviousPrefix = CurrentPrefix;
}

// ---------------------------------------------------------------------------------------
// Any unit report

void WriteUnitReport(UnitReportKind kind, UnitAnalysisState& state, const std::string& rootName,
                     ReportWriter& f) {
  try {
    switch (kind) {
      case UnitReportKind::List:
        state.ReportBanner = "RAVELIN REPORT " + FormatBannerTime(Now());
        RenderUnitList(MakeUnitRecords(state), state.ReportBanner, f);
        break;
      case UnitReportKind::Tree:
        UnitTreeChart(f).Write(state.UnitTree, state.StartFile, state.ReportBanner);
        break;
      case UnitReportKind::Depend:
        WriteDependencyTable(state.UnitTree, rootName, state.ReportBanner, f);
        break;
    }
  } catch (...) {
    f.Text.clear();  // a report reaches its file whole or not at all
    throw;
  }
  f.Close();
}

void WriteUnitList(const std::string& reportFileName) {
  ReportWriter f;
  OpenReportFile(f, reportFileName);
  WriteUnitReport(UnitReportKind::List, UnitAnalysis(), "", f);
}

void WriteUnitTreeChart(const std::string& reportFileName) {
  ReportWriter f;
  OpenReportFile(f, reportFileName);
  WriteUnitReport(UnitReportKind::Tree, UnitAnalysis(), "", f);
}

}  // namespace ravelin
