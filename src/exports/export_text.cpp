#include <array>
#include <string_view>

#include "exports/exports.h"

namespace guidegate {

std::string isoDate(std::time_t moment) {
  std::tm utc{};
  char text[64] = {};
  if (!gmtime_r(&moment, &utc) || std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0) return {};
  return text;
}

std::string plainText(const std::string& fragment) {
  static constexpr std::array<std::pair<std::string_view, char>, 5> references = {
      {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}}};
  std::string text;
  text.reserve(fragment.size());
  for (std::size_t i = 0; i < fragment.size();) {
    bool decoded = false;
    if (fragment[i] == '&') {
      for (const auto& [reference, character] : references) {
        if (std::string_view(fragment).substr(i, reference.size()) == reference) {
          text += character;
          i += reference.size();
          decoded = true;
          break;
        }
      }
    }
    if (!decoded) text += fragment[i++];
  }
  return text;
}

std::string markdownText(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n' || c == '\r') {
      out += ' ';
      continue;
    }
    if (std::string_view("\\`*_[]<>|&~$").find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

std::string inlineMarkdown(std::string_view text) { return markdownText(neutralText(text)); }

std::vector<std::pair<std::string, int>> violationCounts(const GuidelineVerdict& verdict) {
  if (verdict.judgedBySeverity) {
    if (verdict.errorCount > 0) return {{"error", verdict.errorCount}};
    if (verdict.warningCount > 0) return {{"warning", verdict.warningCount}};
    return {};
  }
  std::vector<std::pair<std::string, int>> counts;
  for (const auto& violation : verdict.violations) counts.emplace_back(violation.id, violation.count);
  return counts;
}

}  // namespace guidegate
