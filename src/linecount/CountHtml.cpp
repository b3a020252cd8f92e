// The line count as HTML.
#include "linecount/CountHtml.h"

#include "common/HtmlText.h"

namespace ravelin {

namespace {

/// The commented share of a file's source lines: a cell with the percentage and a bar.
std::string ShareCell(const TLineCounts& counts) {
  const std::string share = Percent(counts.Commented, counts.Source);
  return "<td data-v=\"" + share + "\"><span class=\"bar\" title=\"" + share +
         "% of source lines commented\"><span style=\"width:" + share + "%\"></span></span> " +
         share + "%</td>";
}

std::string Item(const std::string& term, const std::string& value) {
  return "<dt>" + term + "</dt><dd>" + value + "</dd>\n";
}

std::string LinesOf(std::int64_t lines, std::int64_t total) {
  return std::to_string(lines) + " (" + Percent(lines, total) + "%)";
}

}  // namespace

std::string RenderCountHtmlSummary(const LineCountRecord& record) {
  const TLineCounts& t = record.Totals;
  std::string html = "<dl class=\"summary\" id=\"count-totals\">\n";
  html += Item("Files counted", std::to_string(record.FileCount));
  if (record.SkippedCount > 0) html += Item("Files skipped", std::to_string(record.SkippedCount));
  html += Item("Lines", std::to_string(t.Total));
  html += Item("Blank", LinesOf(t.Blank, t.Total));
  html += Item("Comment", LinesOf(t.Comment, t.Total));
  html += Item("Source", LinesOf(t.Source, t.Total));
  html += Item("Commented source", LinesOf(t.Commented, t.Total));
  html += Item("Forms", std::to_string(record.FormCount) + " (" +
                            std::to_string(record.FormTotals.Objects) + " objects, " +
                            std::to_string(record.FormTotals.Lines) + " lines, " +
                            std::to_string(record.FormTotals.Size) + " bytes)");
  return html + "</dl>\n";
}

std::string RenderCountHtmlSection(const LineCountRecord& record) {
  std::string html = SortableTableStart(
      "count", "Line count", "lines",
      {"File", "Lines", "Blank", "Comment", "Source", "Commented", "Commented share"});
  std::size_t index = 0;
  for (const CountedFile& file : record.files) {
    const TLineCounts& c = file.counts;
    html += "<tr data-i=\"" + std::to_string(index++) + "\"" +
            (file.found && file.skipped.empty() ? "" : " class=\"unresolved\"") + "><td>" +
            HtmlEscape(file.name);
    if (!file.skipped.empty()) {
      html += " <span class=\"error\">skipped: " + HtmlEscape(file.skipped) + "</span>";
    } else if (!file.found) {
      html += " <span class=\"note\">not found</span>";
    }
    html += "</td>" + NumberCell(c.Total) + NumberCell(c.Blank) + NumberCell(c.Comment) +
            NumberCell(c.Source) + NumberCell(c.Commented) + ShareCell(c) + "</tr>\n";
  }
  const TLineCounts& t = record.Totals;
  html += "</tbody>\n<tfoot><tr class=\"totals\"><td>Total</td>" + NumberCell(t.Total) +
          NumberCell(t.Blank) + NumberCell(t.Comment) + NumberCell(t.Source) +
          NumberCell(t.Commented) + ShareCell(t) + "</tr></tfoot>\n</table>\n</section>\n";
  return html;
}

std::string RenderCountHtml(const LineCountRecord& record) {
  const std::string title = "Line count of " + record.FileSpec;
  return HtmlPage(title, "<header>\n<h1>" + HtmlEscape(title) + "</h1>\n" +
                             RenderCountHtmlSummary(record) + "</header>\n" +
                             RenderCountHtmlSection(record));
}

}  // namespace ravelin
