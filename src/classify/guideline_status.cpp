#include "classify/guideline_status.h"

#include "classify/guideline_executed.h"
#include "classify/id_list.h"
#include "classify/message_count.h"

namespace guidegate {

GuidelineStatus GuidelineVerdict::status() const {
  switch (execution) {
    case Execution::Ran: break;
    case Execution::NotImplemented: return GuidelineStatus::NotImplemented;
    case Execution::NotExecutedTolerated:
    case Execution::NotExecuted: return GuidelineStatus::NotExecuted;
  }
  if (violated()) return GuidelineStatus::Violations;
  if (!acceptedIds.empty()) return GuidelineStatus::AcceptedViolations;
  if (!suppressedByOption.empty() || !suppressedInResults.empty()) return GuidelineStatus::Suppressed;
  return GuidelineStatus::Compliant;
}

TestOutcome GuidelineVerdict::testOutcome() const {
  switch (status()) {
    case GuidelineStatus::Violations: return TestOutcome::Failed;
    case GuidelineStatus::NotExecuted:
      return clearsVerdict() ? TestOutcome::Errored : TestOutcome::Skipped;
    case GuidelineStatus::NotImplemented: return TestOutcome::Skipped;
    case GuidelineStatus::Compliant:
    case GuidelineStatus::AcceptedViolations:
    case GuidelineStatus::Suppressed: break;
  }
  return TestOutcome::Passed;
}

const char* statusName(GuidelineStatus status) {
  switch (status) {
    case GuidelineStatus::Compliant: return "compliant";
    case GuidelineStatus::Violations: return "violations";
    case GuidelineStatus::AcceptedViolations: return "accepted-violations";
    case GuidelineStatus::Suppressed: return "suppressed";
    case GuidelineStatus::NotExecuted: return "not-executed";
    case GuidelineStatus::NotImplemented: return "not-implemented";
  }
  return "compliant";
}

GuidelineVerdict guidelineStatus(const Guideline& row, const ClassificationInputs& inputs) {
  GuidelineVerdict verdict;
  if (row.mappedIds == "error") {
    verdict.judgedBySeverity = true;
    verdict.errorCount = inputs.results.errorCount();
    verdict.warningCount = inputs.results.warningCount();
    verdict.findings = inputs.results.errorsAndWarnings();
    return verdict;
  }

  for (const auto& id : splitIdList(row.mappedIds)) {
    for (const std::string& form : {id, "solvane-" + id}) {
      MessageCount counted = countMessages(inputs.results, form);
      if (counted.count > 0) verdict.violations.push_back({form, counted.count});
      verdict.findings.insert(verdict.findings.end(), counted.counted.begin(), counted.counted.end());
      verdict.acceptedFindings.insert(verdict.acceptedFindings.end(), counted.accepted.begin(), counted.accepted.end());
    }
  }

  verdict.suppressedByOption = suppressedByOption(inputs.suppressions, row);
  verdict.suppressedInResults = suppressedInResults(inputs.results, row);

  if (!guidelineExecuted(inputs.checkersRun, row, inputs.diagnostics)) {
    if ((row.mappedIds.empty() && row.id.starts_with("Dir ")) || inputs.notImplemented.contains(row.id))
      verdict.execution = Execution::NotImplemented;
    else if (row.id == "INT35")
      verdict.execution = Execution::NotExecutedTolerated;
    else
      verdict.execution = Execution::NotExecuted;
  }
  return verdict;
}

}  // namespace guidegate
