// The line count and form reports as text.
#include "linecount/LCntReports.h"

#include "common/PathUtil.h"
#include "common/VornString.h"

namespace ravelin {

LineCounterState& LineCounter() {
  static LineCounterState state;
  return state;
}

std::int64_t RoundedPercent(std::int64_t count, std::int64_t base) {
  // Exact: count * 100 / base as quotient and remainder, an exact half to the even neighbour.
  const std::int64_t scaled = count * 100;
  std::int64_t quotient = scaled / base;
  const std::int64_t twiceRest = (scaled % base) * 2;
  if (twiceRest > base || (twiceRest == base && quotient % 2 != 0)) ++quotient;
  return quotient;
}

std::vector<std::string> RenderLineCountText(const LineCountRecord& record, bool detailed,
                                             std::string& lastReportPath) {
  LineCountText text(record, detailed, lastReportPath);
  text.Render();
  return std::move(text.Lines);
}

void LineCountText::Render() {
  // A file that could not be opened gets its "not found" line where it was counted: in a
  // detailed report before its row, in a summary between the banner and the summary. A file
  // that could not be counted gets its "skipped" line there instead of a row.
  Lines.clear();
  FormLines.clear();
  WriteBanner();
  if (detailed_) {
    WriteDetailHeader();
    WriteFormHeader();
  }
  size_t nextForm = 0;
  for (const CountedFile& file : record_.files) {
    if (!file.skipped.empty()) {  // not counted: its line alone, in both reports
      Lines.push_back("File \"" + file.name + "\" skipped: " + file.skipped);
      continue;
    }
    if (!file.found) Lines.push_back("File \"" + file.name + "\" not found.");
    const CountedForm* form =
        file.hasForm && nextForm < record_.forms.size() ? &record_.forms[nextForm++] : nullptr;
    if (!detailed_) continue;
    WriteDetailRow(file.name, file.counts);
    if (form != nullptr) {
      // A Lazarus form shows as the input's name with .lfm, a Delphi form as the design says.
      const bool lazarus = UpperText(ExtensionOf(form->name)) == ".LFM";
      WriteFormRow(lazarus ? ChangeExtension(form->input, ".lfm") : form->input, form->counts);
    }
  }
  if (detailed_) {
    WriteDetailTotals();
    if (record_.FormCount > 0) WriteFormTotals();
  } else {
    WriteSummary();
    if (record_.FormCount > 0) WriteFormSummary();
  }
  Lines.emplace_back();
  if (record_.FormCount > 0) {
    Lines.insert(Lines.end(), FormLines.begin(), FormLines.end());
    FormLines.clear();
  }
}

void LineCountText::WriteBanner() {
  Lines.push_back("Tallion (Win32 v:0.9)     (c) The Ravelin developers");
  Lines.push_back("  Count the number of blank lines, comment lines, source lines");
  Lines.push_back("  and commented source lines in a Pascal (or Delphi) source file.");
  Lines.emplace_back();
  Lines.push_back("  Note: \"{}\" also called \"bubbles\" are not counted.");
  Lines.push_back("  [A \"bubble\" is an open brace immediately followed by a close");
  Lines.push_back("  brace. They are normally used as spacers for nested routines]");
  Lines.emplace_back();
}

void LineCountText::WriteDetailHeader() {
  Lines.push_back("                           Line Count Detailed Report");
  Lines.push_back("                                             all    commented");
  Lines.push_back(PadLeftWith("name", ' ', kNameColumnWidth) +
                  "    Blank  %   comment  %    source  %    source   %  %S    total");
  WriteDetailSeparator();
}

void LineCountText::WriteDetailSeparator() {
  Lines.push_back(std::string(kNameColumnWidth, '-') +
                  " -------- --- -------- --- -------- --- -------- --- --- --------");
}

void LineCountText::WriteDetailRow(const std::string& name, const TLineCounts& counts) {
  const std::string displayName = NamePart(name);
  const std::string folder = FolderPart(name);
  if (folder != lastReportPath_) {
    Lines.push_back("PATH: " + folder);
    lastReportPath_ = folder;
  }

  std::string row;
  row.reserve(kNameColumnWidth + 64);
  if (displayName.size() > kNameColumnWidth) {
    Lines.push_back(displayName);
    row.assign(kNameColumnWidth, ' ');
  } else {
    row.assign(static_cast<size_t>(kNameColumnWidth) - displayName.size(), ' ');
    row += displayName;
  }
  row += ' ';
  for (std::int32_t value : {counts.Blank, counts.Comment, counts.Source, counts.Commented}) {
    AppendIntWidth(row, counts.Total > 0 ? value : 0, 8);
    if (counts.Total > 0) {
      row += ' ';
      AppendIntWidth(row, RoundedPercent(value, counts.Total), 3);
      row += ' ';
    } else {
      row += " --- ";
    }
  }
  if (counts.Source > 0) {
    AppendIntWidth(row, RoundedPercent(counts.Commented, counts.Source), 3);
    row += ' ';
  } else {
    row += "--- ";
  }
  AppendIntWidth(row, counts.Total, 8);
  Lines.push_back(std::move(row));
}

void LineCountText::WriteDetailTotals() {
  WriteDetailSeparator();
  WriteDetailRow("TOTAL", record_.Totals);
  Lines.emplace_back();
  Lines.push_back(" " + IntToText(record_.FileCount) + " files processed.");
  Lines.push_back(" %S :: per cent of source lines containing inline comments.");
}

void LineCountText::WriteSummary() {
  Lines.emplace_back();
  Lines.push_back("Line Count Summary Report for: ");
  Lines.push_back("    " + record_.FileSpec);
  if (record_.FileCount > 1) {
    Lines.push_back("    (a list file containing " + IntToText(record_.FileCount) + " file names)");
  }
  Lines.push_back("    type of line      count    % of total");
  Lines.push_back("    ------------     ------    ----------");
  if (record_.Totals.Total > 0) {
    auto countLine = [&](const char* label, std::int32_t value) {
      Lines.push_back(std::string(label) + IntToStrWidth(value, 6) + "        " +
                      IntToStrWidth(RoundedPercent(value, record_.Totals.Total), 6));
    };
    countLine("           Blank     ", record_.Totals.Blank);
    countLine("         Comment     ", record_.Totals.Comment);
    countLine("      All Source     ", record_.Totals.Source);
    if (record_.Totals.Source > 0) {
      Lines.push_back(
          "Commented source         ** " + IntToStrWidth(record_.Totals.Commented, 6) + " " +
          IntToStrWidth(RoundedPercent(record_.Totals.Commented, record_.Totals.Total), 6) +
          "   (is " +
          IntToStrWidth(RoundedPercent(record_.Totals.Commented, record_.Totals.Source), 2) +
          "% of All Source)");
    } else {
      Lines.emplace_back();
    }
  }
  Lines.push_back("                     ======");
  Lines.push_back("     Total lines:    " + IntToStrWidth(record_.Totals.Total, 6));
}

void LineCountText::WriteFormHeader() {
  FormLines.push_back("                           FORMS Detailed Report");
  FormLines.push_back(PadLeftWith("name", ' ', kFormNameWidth) +
                      "      Objects        Lines         Size");
  WriteFormSeparator();
}

void LineCountText::WriteFormSeparator() {
  FormLines.push_back(std::string(kFormNameWidth, '-') + "     --------     --------     --------");
}

void LineCountText::WriteFormRow(const std::string& name, const TFormCounts& counts) {
  std::string displayName = NamePart(name);
  if (UpperText(ExtensionOf(name)) == ".PAS") displayName = ChangeExtension(displayName, ".dfm");
  std::string row;
  if (displayName.size() > kFormNameWidth) {
    FormLines.push_back(displayName);
    row = std::string(kFormNameWidth, ' ');
  } else {
    row = PadLeftWith(displayName, ' ', kFormNameWidth);
  }
  row += "     " + IntToStrWidth(counts.Objects, 8);
  row += "     " + IntToStrWidth(counts.Lines, 8);
  row += "     " + IntToStrWidth(counts.Size, 8);
  FormLines.push_back(row);
}

void LineCountText::WriteFormTotals() {
  WriteFormSeparator();
  WriteFormRow("TOTAL", record_.FormTotals);
  FormLines.emplace_back();
  FormLines.push_back(" " + IntToText(record_.FormCount) + " forms processed.");
}

void LineCountText::WriteFormSummary() {
  FormLines.emplace_back();
  FormLines.push_back("Form Count Summary Report for: ");
  FormLines.push_back("    " + record_.FileSpec);
  if (record_.FileCount > 1) {
    FormLines.push_back("    (a list file containing " + IntToText(record_.FormCount) +
                        " form names)");
  }
  FormLines.emplace_back();
  FormLines.push_back("                category      value");
  FormLines.push_back("------------------------     ------");
  FormLines.push_back("           Total Objects     " +
                      IntToStrWidth(record_.FormTotals.Objects, 6));
  FormLines.push_back("        Equivalent Lines     " + IntToStrWidth(record_.FormTotals.Lines, 6));
  FormLines.push_back("        Size (all Forms)     " + IntToStrWidth(record_.FormTotals.Size, 6) +
                      "  bytes");
}

}  // namespace ravelin
