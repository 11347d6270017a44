#include "driver/exports.h"

#include <array>
#include <map>

#include <nlohmann/json.hpp>

#include "catalogues/coding_standard.h"
#include "classify/id_list.h"
#include "driver/report_document.h"

namespace guidegate {
namespace {

// Keys keep the order in which they are written (schemaVersion first).
using json = nlohmann::ordered_json;

constexpr std::array<const char*, 6> statusNames = {"compliant",  "violations",   "accepted-violations",
                                                     "suppressed", "not-executed", "not-implemented"};
constexpr std::array<const char*, 3> categoryNames = {"Mandatory", "Required", "Advisory"};

bool isMisraC(const RunOptions& options) {
  return options.standard == CodingStandard::MisraC2012 || options.standard == CodingStandard::MisraC2023;
}

json optionalText(const std::optional<std::string>& text) { return text ? json(*text) : json(nullptr); }

// The ", "-joined id lists of a cell as a list.
std::vector<std::string> idList(const std::string& joined) { return splitIdList(joined); }

std::vector<std::pair<std::string, int>> violationCounts(const GuidelineVerdict& verdict) {
  if (verdict.judgedBySeverity) {
    if (verdict.errorCount > 0) return {{"error", verdict.errorCount}};
    if (verdict.warningCount > 0) return {{"warning", verdict.warningCount}};
    return {};
  }
  std::vector<std::pair<std::string, int>> counts;
  for (const auto& violation : verdict.violations) counts.emplace_back(violation.id, violation.count);
  return counts;
}

std::vector<std::string> fatalIds(const ResultsDocument& document) {
  std::vector<std::string> ids;
  for (const auto& id : splitIdList(document.fatalErrorIds())) ids.push_back(id);
  return ids;
}

// Guidelines per status, and for MISRA C per category and status.
std::map<std::string, std::map<std::string, int>> countByCategory(const ReportModel& model) {
  std::map<std::string, std::map<std::string, int>> counts;
  for (const auto& outcome : model.guidelines) ++counts[outcome.category][statusName(outcome.verdict)];
  return counts;
}

json statusCounts(const std::map<std::string, int>& counts) {
  json object = json::object();
  for (const char* status : statusNames) {
    auto found = counts.find(status);
    object[status] = found == counts.end() ? 0 : found->second;
  }
  return object;
}

std::map<std::string, int> totals(const ReportModel& model) {
  std::map<std::string, int> counts;
  for (const auto& outcome : model.guidelines) ++counts[statusName(outcome.verdict)];
  return counts;
}

// Markdown text that renders as written inside a line: the characters that mark up
// inline text or a table cell are backslash-escaped, line breaks become blanks.
std::string markdownText(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n' || c == '\r') {
      out += ' ';
      continue;
    }
    if (std::string_view("\\`*_[]<>|&~").find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

std::string guidelineLabel(const RunOptions& options, const GuidelineOutcome& outcome) {
  if (isMisraC(options) && !outcome.id.starts_with("Dir ")) return "Rule " + outcome.id;
  return outcome.id;
}

}  // namespace

const char* statusName(const GuidelineVerdict& verdict) {
  switch (verdict.execution) {
    case Execution::Ran: break;
    case Execution::NotImplemented: return "not-implemented";
    case Execution::NotExecutedTolerated:
    case Execution::NotExecuted: return "not-executed";
  }
  if (verdict.violated()) return "violations";
  if (!verdict.acceptedIds.empty()) return "accepted-violations";
  if (!verdict.suppressedByOption.empty() || !verdict.suppressedInResults.empty()) return "suppressed";
  return "compliant";
}

std::string plainText(const std::string& fragment) {
  static const std::array<std::pair<std::string_view, char>, 5> references = {
      {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}}};
  std::string text;
  text.reserve(fragment.size());
  for (std::size_t i = 0; i < fragment.size();) {
    bool decoded = false;
    if (fragment[i] == '&') {
      for (const auto& [reference, character] : references) {
        if (std::string_view(fragment).substr(i, reference.size()) == reference) {
          text += character;
          i += reference.size();
          decoded = true;
          break;
        }
      }
    }
    if (!decoded) text += fragment[i++];
  }
  return text;
}

std::string jsonReport(const ExportInputs& inputs) {
  const RunOptions& options = inputs.options;
  const StandardInfo& standard = standardInfo(options.standard);
  const ReportModel& model = inputs.model;
  const bool misraC = isMisraC(options);

  json root;
  root["schemaVersion"] = 1;
  root["tool"] = {{"name", "guidegate"}, {"version", GUIDEGATE_VERSION}};
  root["standard"] = {{"flag", std::string(standard.flags.front())},
                      {"title", std::string(standard.title)},
                      {"guidelines", std::string(standard.guidelinesName)}};
  root["project"] = {{"name", optionalText(options.projectName)}, {"version", optionalText(options.projectVersion)}};
  root["checkingTool"] = inputs.document.checkingTool;
  root["date"] = inputs.date;
  root["result"] = {{"compliant", inputs.report.state.compliant}, {"text", resultText(inputs.report.state, false)}};
  root["configurationNotes"] = configurationNotes(options, inputs.document);
  root["fatalErrors"] = fatalIds(inputs.document);

  json unmapped = json::array();
  for (const auto& row : model.unmapped)
    unmapped.push_back({{"severity", row.severity}, {"id", row.id}, {"count", row.count}});
  root["unmapped"] = unmapped;

  if (model.files) {
    json files = json::array();
    for (const auto& row : *model.files) {
      json messages = json::array();
      for (const auto& message : row.messages)
        messages.push_back({{"guideline", message.guideline}, {"id", message.id}, {"count", message.count}});
      files.push_back({{"name", row.fileName},
                       {"md5sum", row.md5sum},
                       {"errors", row.errors},
                       {"warnings", row.warnings},
                       {"messages", messages}});
    }
    root["files"] = files;
  } else {
    root["files"] = nullptr;
  }

  json guidelines = json::array();
  for (const auto& outcome : model.guidelines) {
    const GuidelineVerdict& verdict = outcome.verdict;
    json violations = json::array();
    for (const auto& [id, count] : violationCounts(verdict)) violations.push_back({{"id", id}, {"count", count}});
    json accepted = json::array();
    for (const auto& record : outcome.accepted) accepted.push_back({{"id", record.id}, {"remark", record.remark}});
    guidelines.push_back({{"id", outcome.id},
                          {"text", plainText(outcome.text)},
                          {"category", misraC ? json(outcome.category) : json(nullptr)},
                          {"executed", verdict.execution == Execution::Ran},
                          {"status", statusName(verdict)},
                          {"violations", violations},
                          {"acceptedViolations", accepted},
                          {"suppressed",
                           {{"byOption", idList(verdict.suppressedByOption)},
                            {"inResults", idList(verdict.suppressedInResults)}}}});
  }
  root["guidelines"] = guidelines;

  json summary;
  summary["byStatus"] = statusCounts(totals(model));
  if (misraC) {
    const auto byCategory = countByCategory(model);
    json categories = json::object();
    for (const char* category : categoryNames) {
      auto found = byCategory.find(category);
      categories[category] = statusCounts(found == byCategory.end() ? std::map<std::string, int>{} : found->second);
    }
    summary["byCategory"] = categories;
  } else {
    summary["byCategory"] = nullptr;
  }
  root["summary"] = summary;

  return root.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string markdownSummary(const ExportInputs& inputs) {
  const RunOptions& options = inputs.options;
  const StandardInfo& standard = standardInfo(options.standard);
  const ReportModel& model = inputs.model;
  const bool misraC = isMisraC(options);
  const BodyState& state = inputs.report.state;

  std::string md = "# " + std::string(standard.title) + " Compliance Report: " +
                   (state.compliant ? "Compliant" : "Non compliant") + "\n\n";
  md += "**Result:** " + resultText(state, false) + "  \n";
  md += "**Guidelines:** " + std::string(standard.guidelinesName) + "  \n";
  if (options.projectName) md += "**Project:** " + markdownText(*options.projectName) + "  \n";
  if (options.projectVersion) md += "**Project version:** " + markdownText(*options.projectVersion) + "  \n";
  md += "**Checking tool:** " + markdownText(inputs.document.checkingTool) + "  \n";
  md += "**Date:** " + inputs.date + "\n\n";

  const auto total = totals(model);
  auto countOf = [](const std::map<std::string, int>& counts, const char* status) {
    auto found = counts.find(status);
    return found == counts.end() ? 0 : found->second;
  };
  md += "## Guidelines by status\n\n";
  if (misraC) {
    const auto byCategory = countByCategory(model);
    auto categoryCount = [&](const char* category, const char* status) {
      auto found = byCategory.find(category);
      if (found == byCategory.end()) return 0;
      if (status) return countOf(found->second, status);
      int all = 0;
      for (const auto& [name, count] : found->second) all += count;
      return all;
    };
    md += "| Status | Mandatory | Required | Advisory | Total |\n|---|---:|---:|---:|---:|\n";
    for (const char* status : statusNames) {
      md += std::string("| ") + status;
      for (const char* category : categoryNames) md += " | " + std::to_string(categoryCount(category, status));
      md += " | " + std::to_string(countOf(total, status)) + " |\n";
    }
    md += "| **all**";
    for (const char* category : categoryNames) md += " | " + std::to_string(categoryCount(category, nullptr));
  } else {
    md += "| Status | Guidelines |\n|---|---:|\n";
    for (const char* status : statusNames)
      md += std::string("| ") + status + " | " + std::to_string(countOf(total, status)) + " |\n";
    md += "| **all**";
  }
  md += " | " + std::to_string(model.guidelines.size()) + " |\n\n";

  std::vector<const GuidelineOutcome*> listed;
  for (const auto& outcome : model.guidelines) {
    const std::string status = statusName(outcome.verdict);
    if (status == "violations" || status == "not-executed") listed.push_back(&outcome);
  }
  md += "## Violated and not executed guidelines\n\n";
  if (listed.empty()) {
    md += "None.\n\n";
  } else {
    constexpr std::size_t shown = 50;
    md += "| Guideline | Status | Findings |\n|---|---|---|\n";
    for (std::size_t i = 0; i < listed.size() && i < shown; ++i) {
      const GuidelineOutcome& outcome = *listed[i];
      std::string findings;
      for (const auto& [id, count] : violationCounts(outcome.verdict)) {
        if (!findings.empty()) findings += ", ";
        findings += markdownText(id) + ": " + std::to_string(count);
      }
      md += "| " + markdownText(guidelineLabel(options, outcome)) + " | " + statusName(outcome.verdict) + " | " +
            findings + " |\n";
    }
    if (listed.size() > shown) md += "\n… and " + std::to_string(listed.size() - shown) + " more.\n";
    md += "\n";
  }

  if (!model.unmapped.empty()) {
    int findings = 0;
    for (const auto& row : model.unmapped) findings += row.count;
    md += "## Unmapped findings\n\nFindings that no guideline maps: " + std::to_string(findings) + " (distinct ids: " +
          std::to_string(model.unmapped.size()) + ").\n\n";
  }

  const auto notes = configurationNotes(options, inputs.document);
  if (!notes.empty()) {
    md += "## Configuration notes\n\n";
    for (const auto& note : notes) md += "- " + markdownText(note) + "\n";
    md += "\n";
  }
  const auto fatal = fatalIds(inputs.document);
  if (!fatal.empty()) {
    md += "## Fatal analysis errors\n\nSome source files were not fully analysed:\n\n";
    for (const auto& id : fatal) md += "- " + markdownText(id) + "\n";
    md += "\n";
  }
  return md;
}

}  // namespace guidegate
