// The HTML elements and the table frame every table of the report is made of.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace guidegate {

// Each wraps `text` verbatim in one element, without attributes or whitespace.
std::string td(std::string_view text);
std::string th(std::string_view text);
std::string thead(std::string_view text);
std::string tr(std::string_view text);

// The header part of a table: "<table>\n", the header cells in thead and tr, "\n<tbody>\n".
std::string tableHead(std::initializer_list<std::string_view> headerCells);
// What closes every table.
inline constexpr std::string_view tableEnd = "</tbody></table>\n";
// The header cell of the status and count columns.
inline constexpr std::string_view complianceHeader = "<th width=\"300px\">Compliance</th>";
inline constexpr std::string_view numberOfReportsHeader = "<th width=\"300px\">Number of reports</th>";

}  // namespace guidegate
