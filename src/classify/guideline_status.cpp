#include "classify/guideline_status.h"

#include <algorithm>

#include "classify/guideline_executed.h"
#include "classify/html_escape.h"
#include "classify/id_list.h"
#include "classify/message_count.h"
#include "classify/suppressions.h"

namespace guidegate {
namespace {

std::vector<std::string> distinctIds(const std::vector<ResultRecord>& records) {
  std::vector<std::string> ids;
  for (const auto& record : records)
    if (std::find(ids.begin(), ids.end(), record.id) == ids.end()) ids.push_back(record.id);
  return ids;
}

}  // namespace

GuidelineVerdict judgeGuideline(const Guideline& row, const ClassificationInputs& inputs, bool& compliant,
                                AcceptedViolations& acceptedViolations, SuppressedIds& suppressedIds) {
  GuidelineVerdict verdict;
  if (row.mappedIds == "error") {
    verdict.judgedBySeverity = true;
    verdict.errorCount = inputs.results.errorCount();
    verdict.warningCount = inputs.results.warningCount();
    if (verdict.violated()) compliant = false;
    return verdict;
  }

  for (const auto& id : splitIdList(row.mappedIds)) {
    for (const std::string& form : {id, "solvane-" + id}) {
      const int count = countMessages(inputs.results, form, row, acceptedViolations);
      if (count > 0) verdict.violations.push_back({form, count});
    }
  }

  verdict.suppressedByOption = suppressedByOption(inputs.suppressionList, row);
  verdict.suppressedInResults = suppressedInResults(inputs.results, row);
  if (!verdict.suppressedInResults.empty()) suppressedIds[row.id] = splitIdList(verdict.suppressedInResults);

  if (!verdict.violations.empty()) compliant = false;

  if (auto accepted = acceptedViolations.find(row.id); accepted != acceptedViolations.end())
    verdict.acceptedIds = distinctIds(accepted->second);

  if (!guidelineExecuted(inputs.checkersRun, row, inputs.diagnostics)) {
    if ((row.mappedIds.empty() && row.id.starts_with("Dir ")) || inputs.notImplemented.contains(row.id)) {
      verdict.execution = Execution::NotImplemented;
    } else if (row.id == "INT35") {
      verdict.execution = Execution::NotExecutedTolerated;
    } else {
      verdict.execution = Execution::NotExecuted;
      compliant = false;
    }
  }
  return verdict;
}

std::string statusCell(const GuidelineVerdict& verdict) {
  if (verdict.judgedBySeverity) {
    if (verdict.errorCount > 0)
      return "<font color=\"red\">Violations: There are " + std::to_string(verdict.errorCount) +
             " 'error' message(s).</font>";
    if (verdict.warningCount > 0)
      return "<font color=\"red\">Violations: There are " + std::to_string(verdict.warningCount) +
             " 'warning' message(s).</font>";
    return "Compliant";
  }
  switch (verdict.execution) {
    case Execution::Ran: break;
    case Execution::NotImplemented: return "Not implemented";
    case Execution::NotExecutedTolerated: return "Not executed";
    case Execution::NotExecuted: return "<font color=\"red\">Not executed</font>";
  }

  std::string cell;
  if (!verdict.violations.empty()) {
    cell = "<font color=\"red\">Violations:";
    for (const auto& violation : verdict.violations) cell += messageSentence(violation.count, violation.id);
    cell += "</font>";
  }
  if (!verdict.acceptedIds.empty()) {
    if (!cell.empty()) cell += "<br>\n";
    cell += "Accepted Violations:";
    for (const auto& id : verdict.acceptedIds) {
      cell += "<br>";
      appendEscapedHtml(cell, id);
    }
  }
  const auto& byOption = verdict.suppressedByOption;
  const auto& inResults = verdict.suppressedInResults;
  if (!byOption.empty() || !inResults.empty()) {
    if (!cell.empty()) cell += "<br>";
    cell += "Suppressed:<br>";
    appendEscapedHtml(cell, byOption);
    if (!byOption.empty() && !inResults.empty()) cell += ", ";
    appendEscapedHtml(cell, inResults);
  }
  return cell.empty() ? "Compliant" : cell;
}

std::string guidelineStatus(const Guideline& row, const ClassificationInputs& inputs, bool& compliant,
                            AcceptedViolations& acceptedViolations, SuppressedIds& suppressedIds) {
  return statusCell(judgeGuideline(row, inputs, compliant, acceptedViolations, suppressedIds));
}

}  // namespace guidegate
