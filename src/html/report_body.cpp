#include "html/report_body.h"

#include "html/cells.h"
#include "html/files_table.h"
#include "html/html_escape.h"
#include "html/status_cell.h"

namespace guidegate {

std::string buildMisraCReportBody(const ComplianceEvaluation& evaluation) {
  std::string body = buildFilesTable(evaluation.files);
  body += "<h2>Violations</h2>" + tableHead({th("Guideline"), th("Category"), complianceHeader});
  for (const auto& judged : evaluation.guidelines) {
    body += tr(td(judged.label) + td(judged.category) + td(statusCell(judged.verdict)));
    body += '\n';
  }
  body += tableEnd;
  return body;
}

std::string buildReportBody(const ComplianceEvaluation& evaluation) {
  std::string body;
  if (!evaluation.unmapped.empty()) {
    body += "<h2>Unmapped</h2>Errors/warnings that have not been mapped to a guideline.<br>";
    body += tableHead({th("Severity"), th("Id"), numberOfReportsHeader});
    for (const auto& row : evaluation.unmapped)
      body += tr(td(row.severity) + td(escapeHtml(row.id)) + td(std::to_string(row.count))) + "\n";
    body += tableEnd;
  }
  body += buildFilesTable(evaluation.files);

  body += "<h2>Violations</h2>" + tableHead({th("Guideline"), th("Text"), complianceHeader});
  for (const auto& judged : evaluation.guidelines) {
    body += tr(td(judged.label) + td(judged.guideline.text) + td(statusCell(judged.verdict)));
    body += '\n';
  }
  body += tableEnd;
  return body;
}

}  // namespace guidegate
