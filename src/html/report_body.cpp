#include "html/report_body.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "catalogues/coding_standard.h"
#include "classify/guideline_status.h"
#include "classify/html_escape.h"
#include "classify/id_list.h"
#include "classify/results_index.h"
#include "classify/suppressions.h"
#include "html/cells.h"
#include "html/files_table.h"
#include "html/misra_c_categories.h"

namespace guidegate {
namespace {

// The ids a catalogue maps, plain and with the "solvane-" prefix.
std::unordered_set<std::string> knownIds(const GuidelineCatalogue& catalogue) {
  std::unordered_set<std::string> known;
  for (const auto& row : catalogue) {
    for (const auto& id : splitIdList(row.mappedIds)) {
      known.insert(id);
      known.insert("solvane-" + id);
    }
  }
  return known;
}

// The Unmapped table's counts: error ids, then warning ids, each in ascending order.
std::vector<UnmappedCount> unmappedCounts(const ResultsIndex& results, const GuidelineCatalogue& catalogue) {
  const auto known = knownIds(catalogue);
  std::vector<const ResultsIndex::IdFindings*> unmapped;
  for (const auto& findings : results.ids())
    if ((findings.errors > 0 || findings.warnings > 0) && !known.contains(std::string(findings.id)))
      unmapped.push_back(&findings);
  std::sort(unmapped.begin(), unmapped.end(), [](const auto* a, const auto* b) { return a->id < b->id; });

  std::vector<UnmappedCount> rows;
  for (const auto* findings : unmapped)
    if (findings->errors > 0) rows.push_back({"error", std::string(findings->id), findings->errors});
  for (const auto* findings : unmapped)
    if (findings->warnings > 0) rows.push_back({"warning", std::string(findings->id), findings->warnings});
  return rows;
}

std::string unmappedRows(const std::vector<UnmappedCount>& counts) {
  std::string rows;
  for (const auto& row : counts)
    rows += tr(td(row.severity) + td(escapeHtml(row.id)) + td(std::to_string(row.count))) + "\n";
  return rows;
}

// Judges one row and keeps its outcome when the body writer records a model.
std::string judgedStatus(const Guideline& row, std::string_view category, const ClassificationInputs& inputs,
                         BodyState& state) {
  GuidelineVerdict verdict =
      judgeGuideline(row, inputs, state.compliant, state.acceptedViolations, state.suppressedIds);
  std::string cell = statusCell(verdict);
  if (state.model) {
    GuidelineOutcome outcome{row.id, row.text, std::string(category), std::move(verdict), {}};
    if (auto accepted = state.acceptedViolations.find(row.id); accepted != state.acceptedViolations.end())
      outcome.accepted = accepted->second;
    state.model->guidelines.push_back(std::move(outcome));
  }
  return cell;
}

std::string filesSection(const ResultsIndex& results, const BodyInputs& inputs, const GuidelineCatalogue& catalogue,
                         BodyState& state) {
  if (!state.model || !inputs.filesList) return buildFilesTable(results, inputs.filesList, catalogue);
  state.model->files.emplace();
  return buildFilesTable(results, inputs.filesList, catalogue, &*state.model->files);
}

std::string misraCCategoryKey(const MisraCCategory& entry) {
  return (entry.directive ? "Dir " : "") + std::to_string(entry.major) + "." + std::to_string(entry.minor);
}

}  // namespace

std::string buildMisraCReportBody(int edition, const BodyInputs& inputs, BodyState& state) {
  state.compliant = !misraConfigSuppressed(inputs.document, inputs.suppressionList);
  const GuidelineCatalogue& catalogue = misraCCatalogue(edition);

  std::unordered_map<std::string, const MisraCCategory*> categories;
  for (const auto& entry : misraCCategories()) categories.try_emplace(misraCCategoryKey(entry), &entry);

  const ResultsIndex results(inputs.document);
  const std::set<std::string> notImplemented;
  const ClassificationInputs classification{results, inputs.checkersRun, inputs.suppressionList, notImplemented,
                                            inputs.diagnostics};

  std::string body = filesSection(results, inputs, catalogue, state);
  body += "<h2>Violations</h2>" + tableHead({th("Guideline"), th("Category"), complianceHeader});
  for (const auto& row : catalogue) {
    auto found = categories.find(row.id);
    if (found == categories.end()) continue;
    const MisraCCategory& entry = *found->second;
    const std::string status = judgedStatus(row, entry.category, classification, state);
    body += tr(td(entry.directive ? row.id : "Rule " + row.id) + td(entry.category) + td(status));
    body += '\n';
  }
  body += tableEnd;
  return body;
}

std::string buildReportBody(const GuidelineCatalogue& catalogue, const std::set<std::string>& notImplemented,
                            const BodyInputs& inputs, BodyState& state) {
  state.compliant = true;
  // One index of the findings serves the Unmapped, Files and Violations sections.
  const ResultsIndex results(inputs.document);
  std::string body;
  std::vector<UnmappedCount> counts = unmappedCounts(results, catalogue);
  const std::string unmapped = unmappedRows(counts);
  if (state.model) state.model->unmapped = std::move(counts);
  if (!unmapped.empty()) {
    state.compliant = false;
    body += "<h2>Unmapped</h2>Errors/warnings that have not been mapped to a guideline.<br>";
    body += tableHead({th("Severity"), th("Id"), numberOfReportsHeader}) + unmapped;
    body += tableEnd;
  }
  body += filesSection(results, inputs, catalogue, state);

  const ClassificationInputs classification{results, inputs.checkersRun, inputs.suppressionList, notImplemented,
                                            inputs.diagnostics};
  body += "<h2>Violations</h2>" + tableHead({th("Guideline"), th("Text"), complianceHeader});
  for (const auto& row : catalogue) {
    const std::string status = judgedStatus(row, "", classification, state);
    body += tr(td(row.id) + td(row.text) + td(status));
    body += '\n';
  }
  body += tableEnd;
  return body;
}

}  // namespace guidegate
