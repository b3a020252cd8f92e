// Pieces shared by the HTML renderers: text escaped for HTML, and the self-contained page
// (inline style and script, nothing fetched) that holds their sections.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ravelin {

/// text as HTML text or attribute value: & < > " ' as references, each byte of an invalid
/// UTF-8 sequence and each control character as U+FFFD, so no name can break or script a page.
std::string HtmlEscape(std::string_view text);

/// A whole page: the title (escaped) and the body (HTML as given), with the style and the
/// script that sorts tables of class "sortable" and filters those with a filter box.
std::string HtmlPage(std::string_view title, std::string_view body);

/// The start of a section holding a sortable table filterable by its first column: the
/// section (id sectionId) with its heading, the filter box, the table (id tableId) with its
/// headings, and the opened tbody.
std::string SortableTableStart(std::string_view sectionId, std::string_view heading,
                               std::string_view tableId,
                               std::initializer_list<std::string_view> headings);

/// A table cell of a number that sorts by its value.
std::string NumberCell(std::int64_t value);

/// part of whole in percent with one decimal ("12.5"); "0.0" when whole is 0.
std::string Percent(std::int64_t part, std::int64_t whole);

}  // namespace ravelin
