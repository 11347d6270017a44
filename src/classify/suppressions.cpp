#include "classify/suppressions.h"

#include <algorithm>

#include "classify/id_list.h"

namespace guidegate {
namespace {

void appendListed(std::string& list, const std::string& id) {
  if (!list.empty()) list += ", ";
  list += id;
}

}  // namespace

std::string suppressedByOption(const std::string& suppressionList, const Guideline& row) {
  std::string result;
  if (suppressionList.empty()) return result;
  for (const auto& id : splitIdList(row.mappedIds)) {
    if (suppressionList.find("," + id + ",") != std::string::npos) appendListed(result, id);
    if (suppressionList.find(",solvane-" + id + ",") != std::string::npos) appendListed(result, "solvane-" + id);
  }
  return result;
}

std::string suppressedInResults(const ResultsIndex& results, const Guideline& row) {
  std::string result;
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
        appendListed(result, id);
        ++p;
      } else {
        appendListed(result, prefixed);
        ++q;
      }
    }
  }
  return result;
}

std::string suppressedInResults(const ResultsDocument& document, const Guideline& row) {
  ResultsIndex index(document);
  return suppressedInResults(index, row);
}

bool misraConfigSuppressed(const ResultsDocument& document, const std::string& suppressionList) {
  const Guideline misraConfig{"", "", "misra-config"};
  if (!suppressedByOption(suppressionList, misraConfig).empty()) return true;
  const auto& suppressions = document.suppressions;
  return std::any_of(suppressions.begin(), suppressions.end(), [](const std::string& id) {
    return id == "misra-config" || id == "solvane-misra-config";
  });
}

}  // namespace guidegate
