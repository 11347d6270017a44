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

// Rows of the Unmapped table: error ids, then warning ids, each in ascending order.
std::string unmappedRows(const ResultsDocument& document, const GuidelineCatalogue& catalogue) {
  const auto known = knownIds(catalogue);
  std::unordered_map<std::string_view, std::pair<int, int>> counts;  // errors, warnings
  for (const auto& record : document.results) {
    if (record.severity == "error")
      ++counts[record.id].first;
    else if (record.severity == "warning")
      ++counts[record.id].second;
  }
  std::vector<std::pair<std::string_view, std::pair<int, int>>> unmapped;
  for (const auto& entry : counts)
    if (!known.contains(std::string(entry.first))) unmapped.push_back(entry);
  std::sort(unmapped.begin(), unmapped.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

  std::string rows;
  for (const auto& [id, count] : unmapped)
    if (count.first > 0) rows += tr(td("error") + td(escapeHtml(id)) + td(std::to_string(count.first))) + "\n";
  for (const auto& [id, count] : unmapped)
    if (count.second > 0) rows += tr(td("warning") + td(escapeHtml(id)) + td(std::to_string(count.second))) + "\n";
  return rows;
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

  std::string body = buildFilesTable(inputs.document, inputs.filesList, catalogue);
  body += "<h2>Violations</h2>" + tableHead({th("Guideline"), th("Category"), complianceHeader});
  for (const auto& row : catalogue) {
    auto found = categories.find(row.id);
    if (found == categories.end()) continue;
    const MisraCCategory& entry = *found->second;
    const std::string status =
        guidelineStatus(row, classification, state.compliant, state.acceptedViolations, state.suppressedIds);
    body += tr(td(entry.directive ? row.id : "Rule " + row.id) + td(entry.category) + td(status));
    body += '\n';
  }
  body += tableEnd;
  return body;
}

std::string buildReportBody(const GuidelineCatalogue& catalogue, const std::set<std::string>& notImplemented,
                            const BodyInputs& inputs, BodyState& state) {
  state.compliant = true;
  std::string body;
  const std::string unmapped = unmappedRows(inputs.document, catalogue);
  if (!unmapped.empty()) {
    state.compliant = false;
    body += "<h2>Unmapped</h2>Errors/warnings that have not been mapped to a guideline.<br>";
    body += tableHead({th("Severity"), th("Id"), numberOfReportsHeader}) + unmapped;
    body += tableEnd;
  }
  body += buildFilesTable(inputs.document, inputs.filesList, catalogue);

  const ResultsIndex results(inputs.document);
  const ClassificationInputs classification{results, inputs.checkersRun, inputs.suppressionList, notImplemented,
                                            inputs.diagnostics};
  body += "<h2>Violations</h2>" + tableHead({th("Guideline"), th("Text"), complianceHeader});
  for (const auto& row : catalogue) {
    const std::string status =
        guidelineStatus(row, classification, state.compliant, state.acceptedViolations, state.suppressedIds);
    body += tr(td(row.id) + td(row.text) + td(status));
    body += '\n';
  }
  body += tableEnd;
  return body;
}

}  // namespace guidegate
