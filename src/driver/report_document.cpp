#include "driver/report_document.h"

#include "classify/html_escape.h"
#include "classify/suppressions.h"
#include "html/cells.h"

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

std::string isoDate(std::time_t moment) {
  std::tm utc{};
  char text[64] = {};
  if (!gmtime_r(&moment, &utc) || std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0) return {};
  return text;
}

std::vector<std::string> configurationNotes(const RunOptions& options, const ResultsDocument& document) {
  std::vector<std::string> notes;
  if (!options.checkersReport && document.xmlVersion != 3) notes.emplace_back("Use Tarnwick option --xml-version=3");
  if (document.inlineSuppr) notes.emplace_back("Tarnwick option --inline-suppr has been used");
  if (document.xmlVersion == 3 && !document.safety) notes.emplace_back("Safety has been turned off");
  if (standardInfo(options.standard).title == "Misra C" && misraConfigSuppressed(document, options.suppressionList))
    notes.emplace_back("misra-config has been suppressed");
  return notes;
}

std::string resultText(const BodyState& state, bool links) {
  std::string result = state.compliant ? "Compliant" : "Non compliant";
  const bool suppressions = !state.suppressedIds.empty();
  const bool accepted = !state.acceptedViolations.empty();
  if (state.compliant && (suppressions || accepted)) {
    result += " with respect to ";
    if (suppressions) result += links ? "<a href=\"#suppressions\">suppressions</a>" : "suppressions";
    if (suppressions && accepted) result += " and ";
    if (accepted) result += links ? "<a href=\"#accepted-violations\">accepted violations</a>" : "accepted violations";
  }
  return result;
}

std::string reportHead(const RunOptions& options, const ResultsDocument& document, const std::string& date,
                       BodyState& state, std::ostream& out) {
  const StandardInfo& standard = standardInfo(options.standard);
  const std::string title(standard.title);

  const std::string fatal = document.fatalErrorIds();
  if (!fatal.empty()) state.compliant = false;

  std::string head = "<html><head><title>" + title + " Compliance Report</title><style>" +
                     styleSheet(state.compliant) + "</style></head><body><h1>" + title +
                     " Compliance Report</h1>\n";
  if (options.projectName)
    head += "Project: <b>" + escapeHtml(*options.projectName) + "</b><br>\n";
  else
    out << "Configuration: --project-name has not been provided\n";
  if (options.projectVersion)
    head += "Project version: <b>" + escapeHtml(*options.projectVersion) + "</b><br>\n";
  else
    out << "Configuration: --project-version has not been provided\n";
  head += "Guidelines: " + std::string(standard.guidelinesName) + "<br>\n";
  head += "Checking tool: " + escapeHtml(document.checkingTool) + "<br>\n";
  head += "Date: " + date + "<br>\n";

  for (const auto& note : configurationNotes(options, document)) {
    head += "Configuration: <font color=\"red\">" + note + "</font><br>\n";
    state.compliant = false;
  }

  head += std::string("Result: ") + (state.compliant ? "<font color=\"green\">" : "<font color=\"red\">") +
          resultText(state, true) + "</font><br>\n";
  if (!fatal.empty())
    head += "<br>There was fatal errors (" + escapeHtml(fatal) +
            ") during analysis. All source files have not been fully analysed.<br>\n";
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

std::string exceptionSections(const RunOptions& options, const ResultsDocument& document, const BodyState& state) {
  std::string closing;
  const std::string accepted = acceptedViolationsTable(state.acceptedViolations);
  if (!accepted.empty())
    closing += "<br>\n<h2 id=\"accepted-violations\">Accepted Violations</h2>\n" + accepted + "<br>\n";
  if (!state.suppressedIds.empty() || misraConfigSuppressed(document, options.suppressionList))
    closing += "<br>\n<h2 id=\"suppressions\">Suppressions</h2></a>\n" + suppressionsTable(state.suppressedIds) +
               "<br>\n";
  return closing;
}

}  // namespace guidegate
