#include "html/html_escape.h"

namespace guidegate {

void appendEscapedHtml(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
}

std::string escapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendEscapedHtml(out, text);
  return out;
}

}  // namespace guidegate
