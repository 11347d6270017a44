#include "classify/message_count.h"

namespace guidegate {
namespace {

// Findings of MISRA C add-on checks may also name their edition after a "-":
// solvane-misra-c2012-8.4 is found as solvane-misra-c-2012-8.4 as well.
std::string alternativeForm(const std::string& id) {
  if (!id.starts_with("solvane-misra-c20")) return id;
  return id.substr(0, 15) + "-" + id.substr(15);
}

}  // namespace

MessageCount countMessages(const ResultsIndex& results, const std::string& id) {
  const auto& records = results.document().results;
  const std::string alternative = alternativeForm(id);
  const bool merge = alternative != id;
  const auto& first = results.findingsWithId(id);
  const auto& second = results.findingsWithId(merge ? std::string_view(alternative) : std::string_view());

  MessageCount counted;
  auto take = [&](std::uint32_t position) {
    if (records[position].remark.empty())
      counted.counted.push_back(position);
    else
      counted.accepted.push_back(position);
  };
  // Both position lists ascend: merging them visits the findings in file order.
  auto p = first.begin();
  auto q = merge ? second.begin() : second.end();
  const auto qEnd = second.end();
  while (p != first.end() || q != qEnd) {
    if (q == qEnd || (p != first.end() && *p < *q))
      take(*p++);
    else
      take(*q++);
  }
  counted.count = static_cast<int>(counted.counted.size());
  return counted;
}

std::vector<std::string> countedForms(const std::string& id) {
  std::string alternative = alternativeForm(id);
  if (alternative == id) return {id};
  return {id, std::move(alternative)};
}

}  // namespace guidegate
