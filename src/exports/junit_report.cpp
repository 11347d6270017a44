// JUnit XML: the run as one test suite with one test case per guideline.
#include <array>
#include <cctype>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "exports/exports.h"
#include "exports/status_counts.h"

namespace guidegate {
namespace {

// How many findings a failure lists by location; the message counts them all.
constexpr std::size_t listedLocations = 20;

// Appends `text` escaped for XML character data and attribute values alike. The texts
// given here are built from neutralText, so every character is one XML 1.0 allows.
void appendXml(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c; break;
    }
  }
}

void appendAttribute(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  appendXml(out, value);
  out += '"';
}

// The guideline's category in lower case, after the standard: "misra-c-2012.required".
std::string className(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged) {
  std::string name = standardKey(evaluation.standard);
  if (!judged.category.empty()) {
    name += '.';
    for (const char c : judged.category) name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return name;
}

// "nullPointer: 2, uninitvar: 1", ids made inert: the verdict's counts per id, and for a
// guideline judged by severity its counted findings per id, first seen first; with a
// baseline, its new violations per id, first seen first.
std::string countsText(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged) {
  std::vector<std::pair<std::string, int>> counts;
  if (judged.verdict.judgedBySeverity || judged.baseline) {
    std::unordered_map<std::string_view, std::size_t> index;
    for (const auto& finding : judged.findings) {
      if (finding.accepted || (judged.baseline && !finding.newSinceBaseline)) continue;
      const std::string_view id = evaluation.document->results[finding.position].id;
      const auto [at, added] = index.try_emplace(id, counts.size());
      if (added) counts.emplace_back(id, 0);
      ++counts[at->second].second;
    }
  } else {
    counts = violationCounts(judged.verdict);
  }
  std::string text;
  for (const auto& [id, count] : counts) {
    if (!text.empty()) text += ", ";
    text += neutralText(id) + ": " + std::to_string(count);
  }
  return text;
}

// "src/a.c:12: nullPointer", or without a line "src/a.c: nullPointer", or the id alone.
std::string locationLine(const ResultRecord& record) {
  const auto places = record.locations;
  std::string line;
  if (!places.empty()) {
    line = neutralText(places.front().file);
    if (places.front().line > 0) line += ":" + std::to_string(places.front().line);
    line += ": ";
  }
  return line + neutralText(record.id);
}

// The first counted findings by location, one a line; with a baseline, the first new ones.
std::string failureText(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged) {
  std::string text;
  std::size_t counted = 0;
  for (const auto& finding : judged.findings) {
    if (finding.accepted || (judged.baseline && !finding.newSinceBaseline)) continue;
    if (++counted <= listedLocations) text += locationLine(evaluation.document->results[finding.position]) + "\n";
  }
  if (counted > listedLocations)
    text += "... and " + std::to_string(counted - listedLocations) + " more findings\n";
  return text;
}

// The accepted findings with their remarks and the suppressed ids, one a line, as inert
// Markdown text (some viewers render it).
std::string systemOut(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged) {
  std::string text;
  if (judged.baseline) {
    // The violations the baseline has too: they do not fail the test case, but stay in view.
    std::size_t outstanding = 0;
    std::size_t more = 0;
    for (const auto& finding : judged.findings) {
      if (finding.accepted || finding.newSinceBaseline) continue;
      if (++outstanding <= listedLocations)
        text += "Violation in the baseline: " + markdownText(locationLine(evaluation.document->results[finding.position])) + "\n";
      else
        ++more;
    }
    if (more > 0) text += "... and " + std::to_string(more) + " more violations in the baseline\n";
  }
  for (const auto& finding : judged.findings) {
    if (!finding.accepted) continue;
    const ResultRecord& record = evaluation.document->results[finding.position];
    text += "Accepted violation " + markdownText(locationLine(record)) + ": " + inlineMarkdown(record.remark) + "\n";
  }
  for (const auto& id : judged.verdict.suppressedByOption)
    text += "Suppressed id (by --suppressions=): " + inlineMarkdown(id) + "\n";
  for (const auto& id : judged.verdict.suppressedInResults)
    text += "Suppressed id (in the results file): " + inlineMarkdown(id) + "\n";
  return text;
}

void appendTestCase(std::string& xml, const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged) {
  const GuidelineVerdict& verdict = judged.verdict;
  xml += "    <testcase";
  appendAttribute(xml, "name", judged.name);
  appendAttribute(xml, "classname", className(evaluation, judged));
  xml += " time=\"0\"";
  const std::string out = systemOut(evaluation, judged);
  const TestOutcome outcome = judged.testOutcome();
  if (outcome == TestOutcome::Passed && out.empty()) {
    xml += "/>\n";
    return;
  }
  xml += ">\n";
  // Some readers show only the message attribute, others (GitLab) only the element's
  // text: the text repeats the message in its first line.
  const auto appendOutcome = [&xml](std::string_view element, const std::string& message, std::string_view type,
                                    const std::string& details) {
    xml += "      <";
    xml += element;
    appendAttribute(xml, "message", message);
    if (!type.empty()) appendAttribute(xml, "type", type);
    xml += '>';
    appendXml(xml, details.empty() ? message : message + "\n" + details);
    xml += "</";
    xml += element;
    xml += ">\n";
  };
  switch (outcome) {
    case TestOutcome::Failed:
      appendOutcome("failure", (judged.baseline ? "New violations: " : "Violations: ") + countsText(evaluation, judged),
                    "violations", failureText(evaluation, judged));
      break;
    case TestOutcome::Errored:
      appendOutcome("error",
                    judged.baseline ? "No longer executed: the checks of " + judged.name +
                                          " ran in the baseline and do not run now"
                                    : "Not executed: the checks of " + judged.name + " did not run",
                    "not-executed", "");
      break;
    case TestOutcome::Skipped:
      appendOutcome("skipped",
                    verdict.status() == GuidelineStatus::NotImplemented
                        ? "Not implemented: no checks exist for " + judged.name
                    : judged.baseline ? "Not executed: the checks of " + judged.name + " did not run, nor in the baseline"
                                      : "Not executed: the checks of " + judged.name +
                                            " did not run, which the verdict tolerates",
                    "", "");
      break;
    case TestOutcome::Passed: break;
  }
  if (!out.empty()) {
    xml += "      <system-out>";
    appendXml(xml, out);
    xml += "</system-out>\n";
  }
  xml += "    </testcase>\n";
}

}  // namespace

std::string junitReport(const ComplianceEvaluation& evaluation) {
  std::array<int, 4> outcomes{};  // by TestOutcome
  for (const auto& judged : evaluation.guidelines) ++outcomes.at(static_cast<std::size_t>(judged.testOutcome()));
  std::string counts;
  appendAttribute(counts, "tests", std::to_string(evaluation.guidelines.size()));
  appendAttribute(counts, "failures", std::to_string(outcomes[static_cast<std::size_t>(TestOutcome::Failed)]));
  appendAttribute(counts, "errors", std::to_string(outcomes[static_cast<std::size_t>(TestOutcome::Errored)]));
  appendAttribute(counts, "skipped", std::to_string(outcomes[static_cast<std::size_t>(TestOutcome::Skipped)]));
  counts += " time=\"0\"";

  const std::string suiteName = standardKey(evaluation.standard);
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites";
  appendAttribute(xml, "name", "guidegate " + suiteName);
  xml += counts + ">\n  <testsuite";
  appendAttribute(xml, "name", suiteName);
  xml += counts;
  appendAttribute(xml, "timestamp", isoDate(evaluation.date).substr(0, 19));  // UTC, without a zone, as the JUnit schema has it
  xml += ">\n";
  xml += "    <properties>\n";
  for (const auto& [name, value] :
       std::array<std::pair<std::string_view, std::string>, 3>{{{"guidelines", std::string(standardInfo(evaluation.standard).guidelinesName)},
                                                                {"result", resultText(evaluation)},
                                                                {"compliant", evaluation.compliant() ? "true" : "false"}}}) {
    xml += "      <property";
    appendAttribute(xml, "name", name);
    appendAttribute(xml, "value", value);
    xml += "/>\n";
  }
  xml += "    </properties>\n";
  for (const auto& judged : evaluation.guidelines) appendTestCase(xml, evaluation, judged);
  xml += "  </testsuite>\n</testsuites>\n";
  return xml;
}

}  // namespace guidegate
