#include "html/compliance_summary.h"

#include "html/cells.h"
#include "html/html_escape.h"
#include "html/report_document.h"

namespace guidegate {
namespace {

std::string joinedLabels(const std::vector<const GcsRow*>& rows) {
  std::string text;
  for (const GcsRow* row : rows) text += (text.empty() ? "" : ", ") + escapeHtml(row->label);
  return text;
}

std::string deviationsCell(const GcsRow& row) {
  if (row.deviationsNotPermitted > 0) return std::to_string(row.deviationsNotPermitted) + " deviation not permitted";
  return std::to_string(row.deviations);
}

}  // namespace

std::string complianceCountsTable(const ComplianceSummary& summary) {
  std::string table = "<table>\n" + thead(tr([] {
                        std::string cells = th("Revised Category");
                        for (const ComplianceWord word : allComplianceWords) cells += th(complianceName(word));
                        return cells + th("Total");
                      }())) +
                      "\n<tbody>\n";
  std::array<int, allComplianceWords.size()> columns{};
  for (const MisraCategory category : allMisraCategories) {
    const auto& counts = summary.counts[static_cast<std::size_t>(category)];
    std::string cells = td(categoryName(category));
    int total = 0;
    for (std::size_t word = 0; word < counts.size(); ++word) {
      cells += td(std::to_string(counts[word]));
      total += counts[word];
      columns[word] += counts[word];
    }
    table += tr(cells + td(std::to_string(total))) + "\n";
  }
  std::string cells = td("<b>Total</b>");
  for (const int count : columns) cells += td(std::to_string(count));
  table += tr(cells + td(std::to_string(summary.rows.size()))) + "\n";
  return table + std::string(tableEnd);
}

std::string renderComplianceSummary(const ComplianceEvaluation& evaluation) {
  const ComplianceSummary& summary = *evaluation.misraCompliance;
  const StandardInfo& standard = standardInfo(evaluation.standard);
  const std::string title = std::string(standard.title) + " Guideline Compliance Summary";
  const bool compliant = summary.compliant();
  const bool withNew = evaluation.baseline.has_value();

  std::string html = "<html><head><meta charset=\"utf-8\"><title>" + title + "</title><style>" +
                     styleSheet(compliant) + "</style></head><body><h1>" + title + "</h1>\n";
  if (evaluation.projectName) html += "Project: <b>" + escapeHtml(*evaluation.projectName) + "</b><br>\n";
  if (evaluation.projectVersion)
    html += "Project version: <b>" + escapeHtml(*evaluation.projectVersion) + "</b><br>\n";
  html += "Guidelines: " + std::string(standard.guidelinesName) + "<br>\n";
  html += "Checking tool: " + escapeHtml(evaluation.document->checkingTool) + "<br>\n";
  html += "Date: " + reportDate(evaluation.date) + "<br>\n";
  html += std::string("Result: ") + (compliant ? "<font color=\"green\">Compliant" : "<font color=\"red\">Non compliant") +
          "</font> (MISRA Compliance:2020)<br>\n";
  html += "<p>" + escapeHtml(verdictSentence(summary)) + "</p>\n";

  std::vector<const GcsRow*> advisoryViolations;
  std::vector<const GcsRow*> notChecked;
  std::string reasons;
  if (!summary.fatalErrorIds.empty()) reasons += "<li>" + escapeHtml(fatalErrorsReason(summary)) + "</li>\n";
  for (const auto& row : summary.rows) {
    if (row.breaksCompliance) reasons += "<li>" + escapeHtml(breakReason(row)) + "</li>\n";
    if (row.compliance == ComplianceWord::Violations && row.revised == MisraCategory::Advisory)
      advisoryViolations.push_back(&row);
    if (row.compliance == ComplianceWord::NotChecked) notChecked.push_back(&row);
  }
  if (!reasons.empty()) html += "<ul>\n" + reasons + "</ul>\n";
  if (!advisoryViolations.empty())
    html += "<p>Advisory guidelines with violations (allowed, listed): " + joinedLabels(advisoryViolations) + "</p>\n";
  if (!notChecked.empty())
    html += "<p>Not checked (the Guideline Enforcement Plan must cover them by other means): " +
            joinedLabels(notChecked) + "</p>\n";

  html += "<br>\n<h2>Guidelines by revised category and compliance</h2>\n" + complianceCountsTable(summary);

  html += "<br>\n<h2>Guideline Compliance Summary</h2>\n<table>\n";
  std::string header = th("Guideline") + th("MISRA Category") + th("Revised Category") + std::string(complianceHeader) +
                       th("Violations") + th("Deviations");
  if (withNew) header += th("New violations");
  html += thead(tr(header)) + "\n<tbody>\n";
  for (const auto& row : summary.rows) {
    std::string cells = td(escapeHtml(row.label)) + td(categoryName(row.category)) + td(categoryName(row.revised)) +
                        td(row.breaksCompliance ? "<font color=\"red\">" + std::string(complianceName(row.compliance)) +
                                                      "</font>"
                                                : std::string(complianceName(row.compliance))) +
                        td(std::to_string(row.violations)) + td(deviationsCell(row));
    if (withNew) cells += td(std::to_string(row.newViolations.value_or(0)));
    html += tr(cells) + "\n";
  }
  html += std::string(tableEnd);
  html += reportEnd;
  return html;
}

}  // namespace guidegate
