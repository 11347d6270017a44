// GitLab Code Quality JSON: one issue per finding that counts against a guideline.
#include <nlohmann/json.hpp>

#include "exports/exports.h"
#include "exports/json_text.h"

namespace guidegate {
namespace {

using json = nlohmann::ordered_json;

// The five severities the format knows: info, minor, major, critical, blocker.
const char* qualitySeverity(FindingLevel level) {
  switch (level) {
    case FindingLevel::Error: return "critical";
    case FindingLevel::Warning: return "major";
    case FindingLevel::Note: return "minor";
  }
  return "minor";
}

}  // namespace

std::string codeQualityReport(const ComplianceEvaluation& evaluation) {
  JsonText issues;  // written issue by issue
  issues.beginArray();
  for (const auto& judged : evaluation.guidelines) {
    const std::string headline = plainText(judged.guideline.text);
    for (const auto& finding : judged.findings) {
      if (finding.accepted) continue;  // an accepted deviation does not count
      const ResultRecord& record = evaluation.document->results[finding.position];
      const auto places = record.locations;
      std::string description = neutralText(record.id) + " (" + neutralText(record.severity) + ") against " + judged.name;
      if (!headline.empty()) description += ": " + headline;
      issues.value({{"description", std::move(description)},
                    {"check_name", judged.name},
                    {"fingerprint", findingFingerprint(evaluation, judged, finding)},
                    {"severity", qualitySeverity(finding.level)},
                    {"location",
                     {{"path", places.empty() ? std::string() : std::string(places.front().file)},
                      {"lines", {{"begin", places.empty() || places.front().line <= 0 ? 1 : places.front().line}}}}}});
    }
  }
  issues.endArray();
  return std::move(issues).take();
}

}  // namespace guidegate
