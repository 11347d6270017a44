// SARIF 2.1.0 for code-scanning uploads.
#include <nlohmann/json.hpp>

#include "exports/exports.h"
#include "exports/json_text.h"

namespace guidegate {
namespace {

using json = nlohmann::ordered_json;

const char* sarifLevel(FindingLevel level) {
  switch (level) {
    case FindingLevel::Error: return "error";
    case FindingLevel::Warning: return "warning";
    case FindingLevel::Note: return "note";
  }
  return "note";
}

// Message text as SARIF reads it (texts from the inputs are neutralText already): square brackets would open an
// embedded link and curly brackets a placeholder, so the first are backslash-escaped and the second doubled.
std::string messageText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == '[' || c == ']') out += '\\';
    if (c == '{' || c == '}') out += c;
    out += c;
  }
  return out;
}

// A file name as a relative URI reference: every byte but the unreserved characters and
// "/" is percent-encoded, so that blanks, "%", "?", "#" and a ":" before the first "/"
// (which would read as a scheme) stay part of the path.
std::string fileUri(std::string_view file) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string uri;
  uri.reserve(file.size());
  for (const char c : file) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (unreserved) {
      uri += c;
    } else {
      uri += '%';
      uri += hex[byte >> 4];
      uri += hex[byte & 0xF];
    }
  }
  return uri;
}

json physicalLocation(const Location& place) {
  json physical = {{"artifactLocation", {{"uri", fileUri(place.file)}}}};
  if (place.line > 0) {
    json region = {{"startLine", place.line}};
    if (place.column > 0) region["startColumn"] = place.column;
    physical["region"] = std::move(region);
  }
  return physical;
}

json ruleEntry(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged) {
  const std::string headline = plainText(judged.guideline.text);
  json tags = json::array({standardKey(evaluation.standard)});
  if (!judged.category.empty()) {
    std::string category = judged.category;
    for (char& c : category) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    tags.push_back(category);
  }
  return {{"id", judged.name},
          {"name", judged.name},
          {"shortDescription", {{"text", headline.empty() ? judged.name : headline}}},
          {"properties", {{"tags", std::move(tags)}}}};
}

json resultEntry(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged, std::size_t ruleIndex,
                 const GuidelineFinding& finding) {
  const ResultRecord& record = evaluation.document->results[finding.position];
  const std::string headline = plainText(judged.guideline.text);
  std::string text = messageText(neutralText(record.id)) + " (" + messageText(neutralText(record.severity)) +
                     ") against " + judged.name;
  if (!headline.empty()) text += ": " + messageText(headline);

  json result = {{"ruleId", judged.name},
                 {"ruleIndex", ruleIndex},
                 {"level", sarifLevel(finding.level)},
                 {"message", {{"text", text}}}};
  const auto places = record.locations;
  if (!places.empty()) {
    result["locations"] = json::array({{{"physicalLocation", physicalLocation(places.front())}}});
    json related = json::array();
    for (std::size_t i = 1; i < places.size(); ++i)
      related.push_back({{"id", i}, {"physicalLocation", physicalLocation(places[i])}});
    if (!related.empty()) result["relatedLocations"] = std::move(related);
  }
  result["partialFingerprints"] = {{"guidegateFinding/v1", findingFingerprint(evaluation, judged, finding)}};

  json suppressions = json::array();
  if (finding.accepted) suppressions.push_back({{"kind", "inSource"}, {"justification", neutralText(record.remark)}});
  // A suppressed id does not keep the finding out of the verdict: the suppression is
  // listed, and marked rejected, so that viewers keep showing the result.
  if (finding.idSuppressed && !finding.accepted)
    suppressions.push_back(
        {{"kind", "external"},
         {"status", "rejected"},
         {"justification", "Suppressed id " + neutralText(record.id) + ", which the report still counts"}});
  if (!suppressions.empty()) result["suppressions"] = std::move(suppressions);
  if (evaluation.baseline) result["baselineState"] = finding.newSinceBaseline ? "new" : "unchanged";
  return result;
}

// The findings of one key and kind that the baseline had and this run has not, as one
// result seen `count` times: only their key is known.
json absentEntry(const GuidelineEvaluation& judged, std::size_t ruleIndex, const FindingKeyCount& key, bool accepted,
                 int count) {
  json result = {{"ruleId", judged.name},
                 {"ruleIndex", ruleIndex},
                 {"level", "none"},
                 {"message",
                  {{"text", std::string(accepted ? "Accepted finding " : "Finding ") + messageText(neutralText(key.id)) +
                                " against " + judged.name + " fixed since the baseline"}}}};
  if (!key.file.empty())
    result["locations"] = json::array({{{"physicalLocation", {{"artifactLocation", {{"uri", fileUri(key.file)}}}}}}});
  if (accepted) result["suppressions"] = json::array({{{"kind", "inSource"}}});
  result["occurrenceCount"] = count;
  result["baselineState"] = "absent";
  return result;
}

}  // namespace

std::string sarifReport(const ComplianceEvaluation& evaluation) {
  const StandardInfo& standard = standardInfo(evaluation.standard);
  // The guidelines with results, each with the index of its rule.
  std::vector<std::pair<const GuidelineEvaluation*, std::size_t>> ruled;
  json rules = json::array();
  for (const auto& judged : evaluation.guidelines) {
    if (judged.findings.empty() && (!judged.baseline || judged.baseline->fixed.empty())) continue;
    ruled.emplace_back(&judged, rules.size());
    rules.push_back(ruleEntry(evaluation, judged));
  }

  json run;
  run["tool"] = {{"driver", {{"name", "guidegate"}, {"version", GUIDEGATE_VERSION}, {"rules", std::move(rules)}}}};
  run["automationDetails"] = {{"id", "guidegate/" + standardKey(evaluation.standard) + "/"}};
  run["results"] = nullptr;  // written result by result, below
  run["properties"] = {{"standard", std::string(standard.guidelinesName)},
                       {"compliant", evaluation.compliant()},
                       {"result", resultText(evaluation)}};
  const auto writeResults = [&](JsonText& text) {
    text.beginArray();
    for (const auto& [judged, ruleIndex] : ruled) {
      for (const auto& finding : judged->findings) text.value(resultEntry(evaluation, *judged, ruleIndex, finding));
      if (!judged->baseline) continue;
      for (const auto& key : judged->baseline->fixed) {
        if (key.count > 0) text.value(absentEntry(*judged, ruleIndex, key, false, key.count));
        if (key.accepted > 0) text.value(absentEntry(*judged, ruleIndex, key, true, key.accepted));
      }
    }
    text.endArray();
  };

  json root;
  root["$schema"] = "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json";
  root["version"] = "2.1.0";
  root["runs"] = nullptr;  // the one run, with its results written one by one
  JsonText text;
  text.object(root, {{"runs", [&](JsonText& out) {
                        out.beginArray();
                        out.object(run, {{"results", writeResults}});
                        out.endArray();
                      }}});
  return std::move(text).take();
}

}  // namespace guidegate
