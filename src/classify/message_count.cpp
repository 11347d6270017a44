#include "classify/message_count.h"

#include "classify/html_escape.h"

namespace guidegate {
namespace {

// Findings of MISRA C add-on checks may also name their edition after a "-":
// solvane-misra-c2012-8.4 is found as solvane-misra-c-2012-8.4 as well.
std::string alternativeForm(const std::string& id) {
  if (!id.starts_with("solvane-misra-c20")) return id;
  return id.substr(0, 15) + "-" + id.substr(15);
}

}  // namespace

int countMessages(const ResultsIndex& results, const std::string& id, const Guideline& row,
                  AcceptedViolations& acceptedViolations) {
  const auto& records = results.document().results;
  const std::string alternative = alternativeForm(id);
  const bool merge = alternative != id;
  static const std::vector<std::uint32_t> none;
  const auto& first = results.findingsWithId(id);
  const auto& second = merge ? results.findingsWithId(alternative) : none;

  int count = 0;
  std::vector<ResultRecord>* accepted = nullptr;
  auto take = [&](std::uint32_t position) {
    const ResultRecord& record = records[position];
    if (record.remark.empty()) {
      ++count;
      return;
    }
    if (!accepted) accepted = &acceptedViolations[row.id];
    accepted->push_back(record);
  };
  if (!merge) {
    for (auto position : first) take(position);
    return count;
  }
  // Both position lists ascend: merging them visits the findings in file order.
  auto p = first.begin();
  auto q = second.begin();
  while (p != first.end() || q != second.end()) {
    if (q == second.end() || (p != first.end() && *p < *q))
      take(*p++);
    else
      take(*q++);
  }
  return count;
}

std::string messageSentence(int count, const std::string& id) {
  if (count == 0) return {};
  std::string sentence = "<br>There are " + std::to_string(count) + " '";
  appendEscapedHtml(sentence, id);
  sentence += "' messages.";
  return sentence;
}

std::string messageCountText(const ResultsIndex& results, const std::string& id, const Guideline& row,
                             AcceptedViolations& acceptedViolations) {
  return messageSentence(countMessages(results, id, row, acceptedViolations), id);
}

}  // namespace guidegate
