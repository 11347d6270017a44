#include "html/cells.h"

namespace guidegate {
namespace {

std::string wrap(std::string_view open, std::string_view text, std::string_view close) {
  std::string element;
  element.reserve(open.size() + text.size() + close.size());
  element += open;
  element += text;
  element += close;
  return element;
}

}  // namespace

std::string td(std::string_view text) { return wrap("<td>", text, "</td>"); }
std::string th(std::string_view text) { return wrap("<th>", text, "</th>"); }
std::string thead(std::string_view text) { return wrap("<thead>", text, "</thead>"); }
std::string tr(std::string_view text) { return wrap("<tr>", text, "</tr>"); }

std::string tableHead(std::initializer_list<std::string_view> headerCells) {
  std::string cells;
  for (auto cell : headerCells) cells += cell;
  return "<table>\n" + thead(tr(cells)) + "\n<tbody>\n";
}

}  // namespace guidegate
