#include "classify/suppressions.h"

#include <algorithm>

#include "classify/id_list.h"

namespace guidegate {

void addSuppressions(SuppressionSet& set, std::string_view value) {
  while (true) {
    const auto comma = value.find(',');
    const std::string_view piece = value.substr(0, comma);
    if (!piece.empty()) set.emplace(piece);
    if (comma == std::string_view::npos) return;
    value.remove_prefix(comma + 1);
  }
}

std::vector<std::string> suppressedByOption(const SuppressionSet& suppressions, const Guideline& row) {
  std::vector<std::string> result;
  if (suppressions.empty()) return result;
  for (const auto& id : splitIdList(row.mappedIds)) {
    if (suppressions.contains(id)) result.push_back(id);
    if (std::string prefixed = "solvane-" + id; suppressions.contains(prefixed)) result.push_back(std::move(prefixed));
  }
  return result;
}

std::vector<std::string> suppressedInResults(const ResultsIndex& results, const Guideline& row) {
  std::vector<std::string> result;
  if (results.document().suppressions.empty()) return result;
  for (const auto& id : splitIdList(row.mappedIds)) {
    const std::string prefixed = "solvane-" + id;
    const auto& plain = results.suppressionsOf(id);
    const auto& withPrefix = results.suppressionsOf(prefixed);
    // Both position lists ascend: merging them keeps the results file's order.
    auto p = plain.begin();
    auto q = withPrefix.begin();
    while (p != plain.end() || q != withPrefix.end()) {
      if (q == withPrefix.end() || (p != plain.end() && *p < *q)) {
        result.push_back(id);
        ++p;
      } else {
        result.push_back(prefixed);
        ++q;
      }
    }
  }
  return result;
}

bool misraConfigSuppressed(const ResultsDocument& document, const SuppressionSet& suppressions) {
  if (suppressions.contains("misra-config") || suppressions.contains("solvane-misra-config")) return true;
  const auto& suppressed = document.suppressions;
  return std::any_of(suppressed.begin(), suppressed.end(), [](const std::string& id) {
    return id == "misra-config" || id == "solvane-misra-config";
  });
}

}  // namespace guidegate
