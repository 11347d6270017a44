#include "html/status_cell.h"

#include "html/html_escape.h"

namespace guidegate {
namespace {

void appendJoined(std::string& cell, const std::vector<std::string>& ids) {
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (i > 0) cell += ", ";
    appendEscapedHtml(cell, ids[i]);
  }
}

}  // namespace

std::string messageSentence(int count, const std::string& id) {
  if (count == 0) return {};
  std::string sentence = "<br>There are " + std::to_string(count) + " '";
  appendEscapedHtml(sentence, id);
  sentence += "' messages.";
  return sentence;
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
    appendJoined(cell, byOption);
    if (!byOption.empty() && !inResults.empty()) cell += ", ";
    appendJoined(cell, inResults);
  }
  return cell.empty() ? "Compliant" : cell;
}

}  // namespace guidegate
