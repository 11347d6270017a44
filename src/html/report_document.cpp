#include "html/report_document.h"

#include "html/cells.h"
#include "html/html_escape.h"
#include "html/report_body.h"

namespace guidegate {

std::string styleSheet(bool compliant) {
  return std::string(
             "\nbody {\n  font-family: Helvetica,Arial, sans-serif;\n}\n\ntable, th, td {\n  border: 0px solid;\n"
             "  border-collapse: collapse;\n}\n\ntable {\n  width: 900px;\n}\n\nth, td {\n  padding: 5px;\n"
             "  text-align: left;\n  font-family: Helvetica,Arial, sans-serif;\n}\n\nth {\n  font-weight: 900;\n"
             "  background-color: ") +
         (compliant ? "#2980b9" : "#ea6153") +
         ";\n  color: white;\n}\n\ntd {\n  color: #3d3d3d;\n}\n\ntr:nth-child(even) {\n"
         "  background-color: #e9e9e9;\n}\n";
}

std::string reportDate(std::time_t moment) {
  std::tm utc{};
  char text[64] = {};
  if (!gmtime_r(&moment, &utc) || std::strftime(text, sizeof text, "%d %B %Y", &utc) == 0) return {};
  return text;
}

std::string resultLine(const ComplianceEvaluation& evaluation) {
  std::string result = evaluation.compliant() ? "Compliant" : "Non compliant";
  const bool suppressions = evaluation.withSuppressions();
  const bool accepted = evaluation.withAcceptedViolations();
  if (suppressions || accepted) {
    result += " with respect to ";
    if (suppressions) result += "<a href=\"#suppressions\">suppressions</a>";
    if (suppressions && accepted) result += " and ";
    if (accepted) result += "<a href=\"#accepted-violations\">accepted violations</a>";
  }
  return result;
}

std::string reportHead(const ComplianceEvaluation& evaluation) {
  const StandardInfo& standard = standardInfo(evaluation.standard);
  const std::string title(standard.title);

  std::string head = "<html><head><meta charset=\"utf-8\"><title>" + title + " Compliance Report</title><style>" +
                     styleSheet(evaluation.compliantByFindings()) + "</style></head><body><h1>" + title +
                     " Compliance Report</h1>\n";
  if (evaluation.projectName) head += "Project: <b>" + escapeHtml(*evaluation.projectName) + "</b><br>\n";
  if (evaluation.projectVersion)
    head += "Project version: <b>" + escapeHtml(*evaluation.projectVersion) + "</b><br>\n";
  head += "Guidelines: " + std::string(standard.guidelinesName) + "<br>\n";
  head += "Checking tool: " + escapeHtml(evaluation.document->checkingTool) + "<br>\n";
  head += "Date: " + reportDate(evaluation.date) + "<br>\n";

  for (const auto& note : evaluation.configurationNotes)
    head += "Configuration: <font color=\"red\">" + escapeHtml(note) + "</font><br>\n";

  head += std::string("Result: ") + (evaluation.compliant() ? "<font color=\"green\">" : "<font color=\"red\">") +
          resultLine(evaluation) + "</font><br>\n";
  if (!evaluation.fatalErrorIds.empty()) {
    std::string fatal;
    for (const auto& id : evaluation.fatalErrorIds) fatal += (fatal.empty() ? "" : ", ") + id;
    head += "<br>There was fatal errors (" + escapeHtml(fatal) +
            ") during analysis. All source files have not been fully analysed.<br>\n";
  }
  return head;
}

std::string acceptedViolationsTable(const AcceptedViolations& acceptedViolations) {
  if (acceptedViolations.empty()) return {};
  std::string table = tableHead({th("Rule"), th("Remark")});
  for (const auto& [guideline, records] : acceptedViolations)
    for (const auto& record : records) table += tr(td(escapeHtml(guideline)) + td(escapeHtml(record.remark))) + "\n";
  table += tableEnd;
  return table;
}

std::string suppressionsTable(const SuppressedIds& suppressedIds) {
  if (suppressedIds.empty()) return {};
  std::string table = tableHead({th("Rule"), th("Id")});
  for (const auto& [guideline, ids] : suppressedIds)
    for (const auto& id : ids) table += tr(td(escapeHtml(guideline)) + td(escapeHtml(id))) + "\n";
  table += tableEnd;
  return table;
}

std::string exceptionSections(const ComplianceEvaluation& evaluation) {
  std::string closing;
  const std::string accepted = acceptedViolationsTable(evaluation.acceptedViolations);
  if (!accepted.empty())
    closing += "<br>\n<h2 id=\"accepted-violations\">Accepted Violations</h2>\n" + accepted + "<br>\n";
  if (!evaluation.suppressedIds.empty() || evaluation.misraConfigSuppressed)
    closing += "<br>\n<h2 id=\"suppressions\">Suppressions</h2></a>\n" +
               suppressionsTable(evaluation.suppressedIds) + "<br>\n";
  return closing;
}

std::string renderHtmlReport(const ComplianceEvaluation& evaluation) {
  const std::string body =
      misraCEdition(evaluation.standard) ? buildMisraCReportBody(evaluation) : buildReportBody(evaluation);
  std::string document = reportHead(evaluation);
  document += exceptionSections(evaluation);
  document += "<br>\n";
  document += body;
  document += reportEnd;
  return document;
}

}  // namespace guidegate
