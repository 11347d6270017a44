#include <nlohmann/json.hpp>

#include "exports/exports.h"
#include "exports/json_text.h"
#include "exports/status_counts.h"

namespace guidegate {
namespace {

// Keys keep the order in which they are written (schemaVersion first).
using json = nlohmann::ordered_json;

json optionalText(const std::optional<std::string>& text) { return text ? json(*text) : json(nullptr); }

json statusCounts(const std::map<GuidelineStatus, int>& counts) {
  json object = json::object();
  for (const GuidelineStatus status : allStatuses) object[statusName(status)] = countOf(counts, status);
  return object;
}

json filesRows(const std::vector<FileRow>& rows) {
  json files = json::array();
  for (const auto& row : rows) {
    json messages = json::array();
    for (const auto& message : row.messages)
      messages.push_back({{"guideline", message.guideline}, {"id", message.id}, {"count", message.count}});
    files.push_back({{"name", row.fileName},
                     {"md5sum", row.md5sum},
                     {"errors", row.errors},
                     {"warnings", row.warnings},
                     {"messages", messages}});
  }
  return files;
}

json positionNumber(int number) { return number > 0 ? json(number) : json(nullptr); }

json findingEntry(const ComplianceEvaluation& evaluation, const GuidelineFinding& finding) {
  const ResultRecord& record = evaluation.document->results[finding.position];
  json locations = json::array();
  for (const auto& place : record.locations)
    locations.push_back({{"file", std::string(place.file)},
                         {"line", positionNumber(place.line)},
                         {"column", positionNumber(place.column)}});
  return {{"id", record.id},
          {"severity", record.severity},
          {"locations", std::move(locations)},
          {"remark", record.remark},
          {"accepted", finding.accepted}};
}

// The guideline's findings, or only those new since the baseline, one by one.
void writeFindings(JsonText& text, const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged,
                   bool onlyNew = false) {
  text.beginArray();
  for (const auto& finding : judged.findings)
    if (!onlyNew || finding.newSinceBaseline) text.value(findingEntry(evaluation, finding));
  text.endArray();
}

json countChange(const CountChange& change) {
  return {{"new", change.added}, {"fixed", change.fixed}, {"outstanding", change.outstanding}};
}

void writeKeyCounts(JsonText& text, const std::vector<FindingKeyCount>& keys) {
  text.beginArray();
  for (const auto& key : keys)
    text.value({{"id", key.id}, {"file", key.file}, {"count", key.count}, {"accepted", key.accepted}});
  text.endArray();
}

void writeBaselineEntry(JsonText& text, const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged) {
  if (!judged.baseline) {
    text.value(nullptr);
    return;
  }
  const GuidelineBaseline& compared = *judged.baseline;
  json entry = countChange(compared.violations);
  entry["accepted"] = countChange(compared.accepted);
  entry["regressed"] = compared.regressed;
  entry["newFindings"] = nullptr;
  entry["fixedCounts"] = nullptr;
  text.object(entry, {{"newFindings", [&](JsonText& out) { writeFindings(out, evaluation, judged, true); }},
                      {"fixedCounts", [&](JsonText& out) { writeKeyCounts(out, compared.fixed); }}});
}

// A guideline's entry; its findings, their counts by key and its comparison with the
// baseline are written piece by piece.
void writeGuidelineEntry(JsonText& text, const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged) {
  const GuidelineVerdict& verdict = judged.verdict;
  json violations = json::array();
  for (const auto& [id, count] : violationCounts(verdict)) violations.push_back({{"id", id}, {"count", count}});
  json accepted = json::array();
  for (const auto& record : judged.accepted) accepted.push_back({{"id", record.id}, {"remark", record.remark}});
  const json entry = {
      {"id", judged.guideline.id},
      {"text", plainText(judged.guideline.text)},
      {"category", judged.category.empty() ? json(nullptr) : json(judged.category)},
      {"executed", verdict.execution == Execution::Ran},
      {"status", statusName(verdict.status())},
      {"violations", violations},
      {"acceptedViolations", accepted},
      {"suppressed", {{"byOption", verdict.suppressedByOption}, {"inResults", verdict.suppressedInResults}}},
      {"findings", nullptr},
      {"findingCounts", nullptr},
      {"baseline", nullptr}};
  text.object(entry, {{"findings", [&](JsonText& out) { writeFindings(out, evaluation, judged); }},
                      {"findingCounts", [&](JsonText& out) { writeKeyCounts(out, judged.findingCounts); }},
                      {"baseline", [&](JsonText& out) { writeBaselineEntry(out, evaluation, judged); }}});
}

json runBaselineEntry(const ComplianceEvaluation& evaluation) {
  if (!evaluation.baseline) return nullptr;
  const BaselineComparison& comparison = *evaluation.baseline;
  json regressed = json::array();
  for (const auto& judged : evaluation.guidelines)
    if (judged.baseline && judged.baseline->regressed) regressed.push_back(judged.guideline.id);
  return {{"violations", countChange(comparison.violations)},
          {"accepted", countChange(comparison.accepted)},
          {"guidelinesWithNew", comparison.guidelinesWithNew},
          {"regressed", std::move(regressed)},
          {"gate", comparison.gated ? json{{"kind", "new"}, {"passed", comparison.gatePassed}} : json(nullptr)}};
}

json complianceSummaryEntry(const ComplianceSummary& summary) {
  json reasons = json::array();
  json notChecked = json::array();
  json guidelines = json::array();
  for (const auto& row : summary.rows) {
    if (row.breaksCompliance)
      reasons.push_back({{"id", row.id}, {"revisedCategory", categoryName(row.revised)},
                         {"compliance", complianceName(row.compliance)}, {"text", breakReason(row)}});
    if (row.compliance == ComplianceWord::NotChecked) notChecked.push_back(row.id);
    guidelines.push_back({{"id", row.id},
                          {"category", categoryName(row.category)},
                          {"revisedCategory", categoryName(row.revised)},
                          {"decidability", row.decidability.empty() ? json(nullptr) : json(row.decidability)},
                          {"compliance", complianceName(row.compliance)},
                          {"violations", row.violations},
                          {"deviations", row.deviations},
                          {"deviationsNotPermitted", row.deviationsNotPermitted},
                          {"newViolations", row.newViolations ? json(*row.newViolations) : json(nullptr)}});
  }
  json counts = json::object();
  for (const MisraCategory category : allMisraCategories) {
    json byWord = json::object();
    for (const ComplianceWord word : allComplianceWords)
      byWord[complianceName(word)] =
          summary.counts[static_cast<std::size_t>(category)][static_cast<std::size_t>(word)];
    counts[categoryName(category)] = std::move(byWord);
  }
  return {{"verdict", summary.compliant() ? "Compliant" : "Non compliant"},
          {"text", verdictSentence(summary)},
          {"reasons", std::move(reasons)},
          {"fatalErrors", summary.fatalErrorIds},
          {"notChecked", std::move(notChecked)},
          {"counts", std::move(counts)},
          {"guidelines", std::move(guidelines)}};
}

json inputEntry(const std::optional<InputDigest>& input) {
  if (!input) return nullptr;
  return {{"path", input->path}, {"size", input->size}, {"sha256", input->sha256}};
}

json provenanceEntry(const Provenance& provenance) {
  json inputs = {{"results", inputEntry(provenance.results)},
                 {"checkersReport", inputEntry(provenance.checkersReport)},
                 {"files", inputEntry(provenance.filesList)},
                 {"baseline", inputEntry(provenance.baseline)}};
  // Only a run given a plan has the key.
  if (provenance.recategorizationPlan) inputs["recategorizationPlan"] = inputEntry(provenance.recategorizationPlan);
  return {{"arguments", provenance.arguments}, {"inputs", std::move(inputs)}};
}

}  // namespace

std::string jsonReport(const ComplianceEvaluation& evaluation) {
  const StandardInfo& standard = standardInfo(evaluation.standard);
  const bool misraC = misraCEdition(evaluation.standard).has_value();

  json root;
  root["schemaVersion"] = baselineSchemaVersion;
  root["tool"] = {{"name", "guidegate"}, {"version", GUIDEGATE_VERSION}};
  root["standard"] = {{"flag", std::string(standard.flags.front())},
                      {"title", std::string(standard.title)},
                      {"guidelines", std::string(standard.guidelinesName)}};
  root["project"] = {{"name", optionalText(evaluation.projectName)},
                     {"version", optionalText(evaluation.projectVersion)}};
  root["checkingTool"] = evaluation.document->checkingTool;
  root["date"] = isoDate(evaluation.date);
  root["result"] = {{"compliant", evaluation.compliant()}, {"text", resultText(evaluation)}};
  root["configurationNotes"] = evaluation.configurationNotes;
  root["fatalErrors"] = evaluation.fatalErrorIds;
  json warnings = json::array();
  for (const auto& warning : evaluation.warnings)
    warnings.push_back({{"code", warning.code}, {"count", warning.count}, {"example", warning.example}});
  root["warnings"] = warnings;

  json unmapped = json::array();
  for (const auto& row : evaluation.unmapped)
    unmapped.push_back({{"severity", row.severity}, {"id", row.id}, {"count", row.count}});
  root["unmapped"] = unmapped;
  root["files"] = evaluation.files ? filesRows(*evaluation.files) : json(nullptr);

  root["guidelines"] = nullptr;  // written guideline by guideline, below

  json summary;
  summary["byStatus"] = statusCounts(countByStatus(evaluation));
  if (misraC) {
    const StatusCounts byCategory = countByCategory(evaluation);
    json categories = json::object();
    for (const char* category : misraCategoryNames) {
      const auto found = byCategory.find(category);
      categories[category] = statusCounts(found == byCategory.end() ? std::map<GuidelineStatus, int>{} : found->second);
    }
    summary["byCategory"] = categories;
  } else {
    summary["byCategory"] = nullptr;
  }
  root["summary"] = summary;
  root["baseline"] = runBaselineEntry(evaluation);
  if (evaluation.misraCompliance) root["complianceSummary"] = complianceSummaryEntry(*evaluation.misraCompliance);
  root["provenance"] = provenanceEntry(evaluation.provenance);

  JsonText text;
  text.object(root, {{"guidelines", [&](JsonText& out) {
                        out.beginArray();
                        for (const auto& judged : evaluation.guidelines) writeGuidelineEntry(out, evaluation, judged);
                        out.endArray();
                      }}});
  return std::move(text).take();
}

}  // namespace guidegate
