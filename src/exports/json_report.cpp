#include <nlohmann/json.hpp>

#include "exports/exports.h"
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

json findingEntries(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged) {
  json findings = json::array();
  for (const auto& finding : judged.findings) {
    const ResultRecord& record = evaluation.document->results[finding.position];
    json locations = json::array();
    for (const auto& place : findingPlaces(record))
      locations.push_back({{"file", std::string(place.file)},
                           {"line", positionNumber(place.line)},
                           {"column", positionNumber(place.column)}});
    findings.push_back({{"id", record.id},
                        {"severity", record.severity},
                        {"locations", std::move(locations)},
                        {"remark", record.remark},
                        {"accepted", finding.accepted}});
  }
  return findings;
}

json guidelineEntry(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged, bool misraC) {
  const GuidelineVerdict& verdict = judged.verdict;
  json violations = json::array();
  for (const auto& [id, count] : violationCounts(verdict)) violations.push_back({{"id", id}, {"count", count}});
  json accepted = json::array();
  for (const auto& record : judged.accepted) accepted.push_back({{"id", record.id}, {"remark", record.remark}});
  return {{"id", judged.guideline.id},
          {"text", plainText(judged.guideline.text)},
          {"category", misraC ? json(judged.category) : json(nullptr)},
          {"executed", verdict.execution == Execution::Ran},
          {"status", statusName(verdict.status())},
          {"violations", violations},
          {"acceptedViolations", accepted},
          {"suppressed", {{"byOption", verdict.suppressedByOption}, {"inResults", verdict.suppressedInResults}}},
          {"findings", findingEntries(evaluation, judged)}};
}

json inputEntry(const std::optional<InputDigest>& input) {
  if (!input) return nullptr;
  return {{"path", input->path}, {"size", input->size}, {"sha256", input->sha256}};
}

json provenanceEntry(const Provenance& provenance) {
  return {{"arguments", provenance.arguments},
          {"inputs",
           {{"results", inputEntry(provenance.results)},
            {"checkersReport", inputEntry(provenance.checkersReport)},
            {"files", inputEntry(provenance.filesList)}}}};
}

}  // namespace

std::string jsonReport(const ComplianceEvaluation& evaluation) {
  const StandardInfo& standard = standardInfo(evaluation.standard);
  const bool misraC = misraCEdition(evaluation.standard).has_value();

  json root;
  root["schemaVersion"] = 2;
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

  json guidelines = json::array();
  for (const auto& judged : evaluation.guidelines) guidelines.push_back(guidelineEntry(evaluation, judged, misraC));
  root["guidelines"] = guidelines;

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
  root["provenance"] = provenanceEntry(evaluation.provenance);

  return root.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace guidegate
