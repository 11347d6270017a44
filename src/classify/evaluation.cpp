#include "classify/evaluation.h"

#include <algorithm>
#include <sstream>
#include <unordered_map>

#include "classify/id_list.h"
#include "classify/listed_rows.h"
#include "classify/results_index.h"
#include "classify/unmapped.h"

namespace guidegate {
namespace {

std::vector<std::string> configurationNotes(const RunInputs& inputs, bool misraConfig) {
  const ResultsDocument& document = inputs.document;
  std::vector<std::string> notes;
  if (!inputs.checkersReportGiven && document.xmlVersion != 3) notes.emplace_back("Use Tarnwick option --xml-version=3");
  if (document.inlineSuppr) notes.emplace_back("Tarnwick option --inline-suppr has been used");
  if (document.xmlVersion == 3 && !document.safety) notes.emplace_back("Safety has been turned off");
  if (misraCEdition(inputs.standard) && misraConfig) notes.emplace_back("misra-config has been suppressed");
  return notes;
}

std::vector<std::string> distinctIds(const std::vector<ResultRecord>& records) {
  std::vector<std::string> ids;
  for (const auto& record : records)
    if (std::find(ids.begin(), ids.end(), record.id) == ids.end()) ids.emplace_back(record.id);
  return ids;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

// Compares every guideline with its entry of the baseline: the n-th guideline of an id
// with the n-th entry of that id.
BaselineComparison compareRun(std::vector<GuidelineEvaluation>& guidelines, const ResultsDocument& document,
                              const BaselineFile& baseline, bool gated, bool analysisComplete) {
  std::unordered_map<std::string_view, std::vector<const BaselineGuideline*>> entries;
  for (auto it = baseline.guidelines.rbegin(); it != baseline.guidelines.rend(); ++it) entries[it->id].push_back(&*it);
  BaselineComparison comparison;
  for (auto& judged : guidelines) {
    const BaselineGuideline* before = nullptr;
    if (auto found = entries.find(judged.guideline.id); found != entries.end() && !found->second.empty()) {
      before = found->second.back();
      found->second.pop_back();
    }
    const GuidelineBaseline& compared = judged.baseline.emplace(compareWithBaseline(
        document, judged.findingCounts, before, judged.verdict.execution == Execution::Ran, judged.findings));
    comparison.violations += compared.violations;
    comparison.accepted += compared.accepted;
    if (compared.violations.added > 0) ++comparison.guidelinesWithNew;
    if (compared.regressed) ++comparison.regressed;
  }
  comparison.gated = gated;
  comparison.gatePassed = comparison.guidelinesWithNew == 0 && comparison.regressed == 0 && analysisComplete;
  return comparison;
}

}  // namespace

void fileAcceptedFindings(const ResultsDocument& document, const Guideline& row, GuidelineVerdict& verdict,
                          AcceptedViolations& filed) {
  if (!verdict.acceptedFindings.empty()) {
    auto& records = filed[row.id];
    for (const auto position : verdict.acceptedFindings) records.push_back(document.results[position]);
  }
  if (verdict.judgedBySeverity) return;
  if (auto found = filed.find(row.id); found != filed.end()) verdict.acceptedIds = distinctIds(found->second);
}

TestOutcome GuidelineEvaluation::testOutcome() const {
  const TestOutcome outcome = verdict.testOutcome();
  if (!baseline) return outcome;
  // New violations fail it whatever the status says (a finding proves its check ran).
  if (baseline->violations.added > 0) return TestOutcome::Failed;
  if (baseline->regressed) return TestOutcome::Errored;
  switch (outcome) {
    case TestOutcome::Failed: return TestOutcome::Passed;
    case TestOutcome::Errored: return TestOutcome::Skipped;
    case TestOutcome::Passed:
    case TestOutcome::Skipped: break;
  }
  return outcome;
}

bool ComplianceEvaluation::passes() const {
  switch (gate) {
    case Gate::Report: break;
    case Gate::New: return baseline && baseline->gated ? baseline->gatePassed : compliant();
    case Gate::MisraCompliance: return misraCompliance ? misraCompliance->compliant() : compliant();
  }
  return compliant();
}

bool ComplianceEvaluation::compliantByFindings() const {
  return std::all_of(reasons.begin(), reasons.end(),
                     [](const VerdictReason& reason) { return reason.kind == VerdictReason::Kind::ConfigurationNote; });
}

ComplianceEvaluation evaluateRun(const RunInputs& inputs) {
  const ResultsDocument& document = inputs.document;
  ComplianceEvaluation evaluation;
  evaluation.standard = inputs.standard;
  evaluation.document = &document;
  evaluation.projectName = inputs.projectName;
  evaluation.projectVersion = inputs.projectVersion;
  evaluation.date = inputs.date;
  evaluation.provenance = inputs.provenance;

  CheckersRun checkersRun = inputs.checkersReport;
  for (const auto& checker : document.checkers) checkersRun[checker] = true;

  const auto edition = misraCEdition(inputs.standard);
  const ReportCatalogue catalogue = judgedCatalogue(inputs.standard);

  // One index of the findings serves the Unmapped, Files and Violations sections.
  const ResultsIndex results(document);
  if (!edition) evaluation.unmapped = unmappedCounts(results, catalogue.guidelines());
  if (inputs.files) evaluation.files = buildFileRows(results, *inputs.files, catalogue.guidelines());

  std::ostringstream diagnostics;
  const ClassificationInputs classification{results, checkersRun, inputs.suppressions, catalogue.notImplemented(),
                                            diagnostics};
  for (const auto& [row, category] : listedRows(inputs.standard, catalogue.guidelines())) {
    GuidelineEvaluation judged{*row,
                               guidelineLabel(inputs.standard, *row),
                               std::string(category),
                               guidelineStatus(*row, classification),
                               {},
                               {},
                               {},
                               {},
                               {}};
    GuidelineVerdict& verdict = judged.verdict;
    judged.name = guidelineName(inputs.standard, *row);
    if (inputs.findingDetails || inputs.baseline) {
      judged.findings = guidelineFindings(document, verdict);
      judged.findingCounts = findingKeyCounts(document, judged.findings);
    }
    fileAcceptedFindings(document, *row, verdict, evaluation.acceptedViolations);
    if (!verdict.suppressedInResults.empty()) evaluation.suppressedIds[row->id] = verdict.suppressedInResults;
    if (auto filed = evaluation.acceptedViolations.find(row->id); filed != evaluation.acceptedViolations.end())
      judged.accepted = filed->second;
    evaluation.guidelines.push_back(std::move(judged));
  }
  evaluation.diagnostics = lines(diagnostics.str());

  evaluation.misraConfigSuppressed = misraConfigSuppressed(document, inputs.suppressions);
  evaluation.configurationNotes = configurationNotes(inputs, evaluation.misraConfigSuppressed);
  const std::string fatal = document.fatalErrorIds();
  evaluation.fatalErrorIds = splitIdList(fatal);

  // The verdict, from the facts above, in the order the report states them.
  using Kind = VerdictReason::Kind;
  for (const auto& note : evaluation.configurationNotes) evaluation.reasons.push_back({Kind::ConfigurationNote, note});
  if (!fatal.empty()) evaluation.reasons.push_back({Kind::FatalErrors, fatal});
  if (edition && evaluation.misraConfigSuppressed) evaluation.reasons.push_back({Kind::MisraConfig, "misra-config"});
  if (!evaluation.unmapped.empty()) evaluation.reasons.push_back({Kind::Unmapped, evaluation.unmapped.front().id});
  for (const auto& judged : evaluation.guidelines)
    if (judged.verdict.clearsVerdict()) evaluation.reasons.push_back({Kind::Guideline, judged.guideline.id});

  if (inputs.baseline) evaluation.baseline = compareRun(evaluation.guidelines, document, *inputs.baseline, inputs.gate == Gate::New, evaluation.fatalErrorIds.empty());

  evaluation.gate = inputs.gate;
  if (misraStandard(inputs.standard) && (inputs.complianceSummary || inputs.plan)) {
    std::vector<Recategorization> plan;
    if (inputs.plan)
      plan = resolveRecategorizationPlan(inputs.standard, misraGuidelines(inputs.standard, evaluation.guidelines),
                                         inputs.planPath, *inputs.plan);
    evaluation.misraCompliance = complianceSummary(inputs.standard, evaluation.guidelines, plan, evaluation.fatalErrorIds);
  } else if (inputs.plan) {
    resolveRecategorizationPlan(inputs.standard, {}, inputs.planPath, *inputs.plan);  // refuses the standard
  }

  evaluation.warnings = runWarnings(inputs.standard, results, inputs.files, inputs.suppressions);
  return evaluation;
}

std::string resultText(const ComplianceEvaluation& evaluation) {
  std::string result = evaluation.compliant() ? "Compliant" : "Non compliant";
  const bool suppressions = evaluation.withSuppressions();
  const bool accepted = evaluation.withAcceptedViolations();
  if (suppressions || accepted) {
    result += " with respect to ";
    if (suppressions) result += "suppressions";
    if (suppressions && accepted) result += " and ";
    if (accepted) result += "accepted violations";
  }
  return result;
}

}  // namespace guidegate
