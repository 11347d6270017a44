#include "exports/exports.h"
#include "exports/status_counts.h"

namespace guidegate {

std::string markdownSummary(const ComplianceEvaluation& evaluation) {
  const StandardInfo& standard = standardInfo(evaluation.standard);
  const bool misraC = misraCEdition(evaluation.standard).has_value();

  std::string md = "# " + std::string(standard.title) + " Compliance Report: " +
                   (evaluation.compliant() ? "Compliant" : "Non compliant") + "\n\n";
  md += "**Result:** " + resultText(evaluation) + "  \n";
  md += "**Guidelines:** " + std::string(standard.guidelinesName) + "  \n";
  if (evaluation.projectName) md += "**Project:** " + markdownText(*evaluation.projectName) + "  \n";
  if (evaluation.projectVersion) md += "**Project version:** " + markdownText(*evaluation.projectVersion) + "  \n";
  md += "**Checking tool:** " + markdownText(evaluation.document->checkingTool) + "  \n";
  md += "**Date:** " + isoDate(evaluation.date) + "\n\n";

  const auto total = countByStatus(evaluation);
  md += "## Guidelines by status\n\n";
  if (misraC) {
    const StatusCounts byCategory = countByCategory(evaluation);
    auto categoryCount = [&](const char* category, const GuidelineStatus* status) {
      const auto found = byCategory.find(category);
      if (found == byCategory.end()) return 0;
      if (status) return countOf(found->second, *status);
      int all = 0;
      for (const auto& [name, count] : found->second) all += count;
      return all;
    };
    md += "| Status | Mandatory | Required | Advisory | Total |\n|---|---:|---:|---:|---:|\n";
    for (const GuidelineStatus& status : allStatuses) {
      md += std::string("| ") + statusName(status);
      for (const char* category : misraCategoryNames) md += " | " + std::to_string(categoryCount(category, &status));
      md += " | " + std::to_string(countOf(total, status)) + " |\n";
    }
    md += "| **all**";
    for (const char* category : misraCategoryNames) md += " | " + std::to_string(categoryCount(category, nullptr));
  } else {
    md += "| Status | Guidelines |\n|---|---:|\n";
    for (const GuidelineStatus status : allStatuses)
      md += std::string("| ") + statusName(status) + " | " + std::to_string(countOf(total, status)) + " |\n";
    md += "| **all**";
  }
  md += " | " + std::to_string(evaluation.guidelines.size()) + " |\n\n";

  std::vector<const GuidelineEvaluation*> listed;
  for (const auto& judged : evaluation.guidelines) {
    const GuidelineStatus status = judged.verdict.status();
    if (status == GuidelineStatus::Violations || status == GuidelineStatus::NotExecuted) listed.push_back(&judged);
  }
  md += "## Violated and not executed guidelines\n\n";
  if (listed.empty()) {
    md += "None.\n\n";
  } else {
    constexpr std::size_t shown = 50;
    md += "| Guideline | Status | Findings |\n|---|---|---|\n";
    for (std::size_t i = 0; i < listed.size() && i < shown; ++i) {
      const GuidelineEvaluation& judged = *listed[i];
      std::string findings;
      for (const auto& [id, count] : violationCounts(judged.verdict)) {
        if (!findings.empty()) findings += ", ";
        findings += markdownText(id) + ": " + std::to_string(count);
      }
      md += "| " + markdownText(judged.label) + " | " + statusName(judged.verdict.status()) + " | " + findings + " |\n";
    }
    if (listed.size() > shown) md += "\n… and " + std::to_string(listed.size() - shown) + " more.\n";
    md += "\n";
  }

  if (!evaluation.unmapped.empty()) {
    int findings = 0;
    for (const auto& row : evaluation.unmapped) findings += row.count;
    md += "## Unmapped findings\n\nFindings that no guideline maps: " + std::to_string(findings) + " (distinct ids: " +
          std::to_string(evaluation.unmapped.size()) + ").\n\n";
  }

  if (!evaluation.configurationNotes.empty()) {
    md += "## Configuration notes\n\n";
    for (const auto& note : evaluation.configurationNotes) md += "- " + markdownText(note) + "\n";
    md += "\n";
  }
  if (!evaluation.fatalErrorIds.empty()) {
    md += "## Fatal analysis errors\n\nSome source files were not fully analysed:\n\n";
    for (const auto& id : evaluation.fatalErrorIds) md += "- " + markdownText(id) + "\n";
    md += "\n";
  }
  // The footer: which version wrote the summary, and from exactly which results.
  md += "Written by guidegate " GUIDEGATE_VERSION;
  if (evaluation.provenance.results) md += " from the results file with SHA-256 " + evaluation.provenance.results->sha256;
  md += ".\n";
  return md;
}

}  // namespace guidegate
