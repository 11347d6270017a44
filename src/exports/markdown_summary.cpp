#include "exports/baseline_summary.h"
#include "exports/exports.h"
#include "exports/status_counts.h"

namespace guidegate {
namespace {

// The guideline lists end before the summary passes this size, which leaves room for the
// rest under 1 MiB, the most a job summary takes.
constexpr std::size_t listedSize = 1024 * 1024 - 64 * 1024;

// A header text shortened to 4096 bytes, so that the header stays small whatever the inputs say.
std::string headerText(std::string_view text) {
  constexpr std::size_t most = 4096;
  return text.size() <= most ? inlineMarkdown(text) : inlineMarkdown(text.substr(0, most)) + "…";
}

}  // namespace

std::string markdownSummary(const ComplianceEvaluation& evaluation) {
  const StandardInfo& standard = standardInfo(evaluation.standard);
  const bool misraC = misraCEdition(evaluation.standard).has_value();

  std::string md = "# " + std::string(standard.title) + " Compliance Report: " +
                   (evaluation.compliant() ? "Compliant" : "Non compliant") + "\n\n";
  md += "**Result:** " + resultText(evaluation) + "  \n";
  md += "**Guidelines:** " + std::string(standard.guidelinesName) + "  \n";
  if (evaluation.projectName) md += "**Project:** " + headerText(*evaluation.projectName) + "  \n";
  if (evaluation.projectVersion) md += "**Project version:** " + headerText(*evaluation.projectVersion) + "  \n";
  md += "**Checking tool:** " + headerText(evaluation.document->checkingTool) + "  \n";
  md += "**Date:** " + isoDate(evaluation.date) + "\n\n";
  md += markdownBaselineSection(evaluation);

  // Violated guidelines first, then those not executed, each as long as the size allows.
  std::vector<const GuidelineEvaluation*> violated;
  std::vector<const GuidelineEvaluation*> notExecuted;
  for (const auto& judged : evaluation.guidelines) {
    const GuidelineStatus status = judged.verdict.status();
    if (status == GuidelineStatus::Violations) violated.push_back(&judged);
    if (status == GuidelineStatus::NotExecuted) notExecuted.push_back(&judged);
  }
  std::size_t left = 0;  // rows not shown
  md += "## Violated guidelines\n\n";
  if (violated.empty()) {
    md += "None.\n\n";
  } else {
    md += "| Guideline | Findings |\n|---|---|\n";
    std::size_t shown = 0;
    for (; shown < violated.size(); ++shown) {
      std::string findings;
      for (const auto& [id, count] : violationCounts(violated[shown]->verdict)) {
        if (!findings.empty()) findings += ", ";
        findings += inlineMarkdown(id) + ": " + std::to_string(count);
      }
      std::string row = "| " + markdownText(violated[shown]->label) + " | " + findings + " |\n";
      if (md.size() + row.size() > listedSize) break;
      md += row;
    }
    left += violated.size() - shown;
    md += "\n";
  }
  md += "## Not executed guidelines\n\n";
  if (notExecuted.empty()) {
    md += "None.\n\n";
  } else {
    std::size_t shown = 0;
    for (; shown < notExecuted.size(); ++shown) {
      std::string row = "- " + markdownText(notExecuted[shown]->label) + "\n";
      if (left > 0 || md.size() + row.size() > listedSize) break;
      md += row;
    }
    left += notExecuted.size() - shown;
    md += "\n";
  }
  if (left > 0)
    md += "The summary stops here to stay under 1 MiB: " + std::to_string(left) +
          " more violated or not executed guidelines are listed in the report.\n\n";

  // The rest as counts only.
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

  if (evaluation.misraCompliance) {
    const ComplianceSummary& summary = *evaluation.misraCompliance;
    md += "## MISRA Compliance:2020\n\n**Verdict:** " + std::string(summary.compliant() ? "Compliant" : "Non compliant") +
          ". " + markdownText(verdictSentence(summary)) + "\n\n";
    md += "| Revised category |";
    for (const ComplianceWord word : allComplianceWords) md += std::string(" ") + complianceName(word) + " |";
    md += " Total |\n|---|";
    for (std::size_t column = 0; column <= allComplianceWords.size(); ++column) md += "---:|";
    md += "\n";
    std::array<int, allComplianceWords.size()> columns{};
    for (const MisraCategory category : allMisraCategories) {
      md += std::string("| ") + categoryName(category) + " |";
      int total = 0;
      const auto& counts = summary.counts[static_cast<std::size_t>(category)];
      for (std::size_t word = 0; word < counts.size(); ++word) {
        md += " " + std::to_string(counts[word]) + " |";
        total += counts[word];
        columns[word] += counts[word];
      }
      md += " " + std::to_string(total) + " |\n";
    }
    md += "| **all** |";
    for (const int count : columns) md += " " + std::to_string(count) + " |";
    md += " " + std::to_string(summary.rows.size()) + " |\n\n";
  }

  if (!evaluation.unmapped.empty()) {
    int findings = 0;
    for (const auto& row : evaluation.unmapped) findings += row.count;
    md += "## Unmapped findings\n\nFindings that no guideline maps: " + std::to_string(findings) + " (distinct ids: " +
          std::to_string(evaluation.unmapped.size()) + ").\n\n";
  }

  if (!evaluation.configurationNotes.empty()) {
    md += "## Configuration notes\n\n";
    for (const auto& note : evaluation.configurationNotes) md += "- " + inlineMarkdown(note) + "\n";
    md += "\n";
  }
  if (!evaluation.fatalErrorIds.empty()) {
    md += "## Fatal analysis errors\n\nSome source files were not fully analysed:\n\n";
    for (const auto& id : evaluation.fatalErrorIds) md += "- " + inlineMarkdown(id) + "\n";
    md += "\n";
  }
  // The footer: which version wrote the summary, and from exactly which results.
  md += "Written by guidegate " GUIDEGATE_VERSION;
  if (evaluation.provenance.results) md += " from the results file with SHA-256 " + evaluation.provenance.results->sha256;
  md += ".\n";
  return md;
}

}  // namespace guidegate
