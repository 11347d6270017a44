#include "classify/run_warnings.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "classify/id_list.h"
#include "classify/listed_rows.h"
#include "classify/message_count.h"
#include "input/text_keys.h"

namespace guidegate {
namespace {

// "1 finding" or "2 findings".
std::string counted(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// What the guidelines of one standard count.
struct CountedIds {
  std::unordered_set<std::string> ids;  // every id form its rows count
  bool everyErrorAndWarning = false;    // a row stands for every error and warning
};

CountedIds countedIds(CodingStandard standard) {
  CountedIds counted;
  const ReportCatalogue catalogue = judgedCatalogue(standard);
  for (const auto& listed : listedRows(standard, catalogue.guidelines())) {
    if (listed.row->mappedIds == "error") {
      counted.everyErrorAndWarning = true;
      continue;
    }
    for (const auto& id : splitIdList(listed.row->mappedIds))
      for (const std::string& form : {id, "solvane-" + id})
        for (auto& each : countedForms(form)) counted.ids.insert(std::move(each));
  }
  return counted;
}

// The ids --suppressions= may name to some effect in a run of `standard`.
std::unordered_set<std::string> suppressibleIds(CodingStandard standard) {
  std::unordered_set<std::string> ids;
  const ReportCatalogue catalogue = judgedCatalogue(standard);
  for (const auto& listed : listedRows(standard, catalogue.guidelines())) {
    if (listed.row->mappedIds == "error") continue;  // a row judged by severity suppresses nothing
    for (const auto& id : splitIdList(listed.row->mappedIds)) {
      ids.insert(id);
      ids.insert("solvane-" + id);
    }
  }
  if (misraCEdition(standard)) {
    ids.insert("misra-config");
    ids.insert("solvane-misra-config");
  }
  return ids;
}

}  // namespace

std::vector<RunWarning> resultsShapeWarnings(const ResultsDocument& document) {
  std::vector<RunWarning> warnings;
  if (document.rootName != "results")
    warnings.push_back({"root-not-results", 1, document.rootName,
                        "the root element of the results file is " + document.rootName +
                            ", not results (1 element): the file may not be Tarnwick's XML results"});
  if (!document.hasErrorsElement)
    warnings.push_back({"no-errors-element", 0, document.rootName,
                        "the results file has 0 errors elements under its root element " + document.rootName +
                            ", so no finding was read: Tarnwick's XML results keep their findings in an errors element"});
  return warnings;
}

std::optional<RunWarning> otherStandardWarning(CodingStandard standard, const ResultsIndex& results) {
  if (results.ids().empty()) return std::nullopt;
  const CountedIds chosen = countedIds(standard);
  // Outside MISRA C, an error or warning no guideline maps is counted too: as an
  // Unmapped row, which makes the run non compliant.
  const bool everyErrorAndWarning = chosen.everyErrorAndWarning || !misraCEdition(standard);
  struct Other {
    CodingStandard standard;
    CountedIds counted;
    std::size_t findings = 0;
    std::string example;
  };
  std::vector<Other> others;
  for (const auto& info : codingStandards())
    if (info.standard != standard) others.push_back({info.standard, countedIds(info.standard), 0, {}});

  std::size_t total = 0;
  for (const auto& findings : results.ids()) {
    const std::string id(findings.id);
    if (chosen.ids.contains(id)) continue;
    const std::size_t bySeverity =
        everyErrorAndWarning ? static_cast<std::size_t>(findings.errors + findings.warnings) : 0;
    const std::size_t ignored = findings.positions.size() - bySeverity;
    if (ignored == 0) continue;
    bool mapped = false;
    for (auto& other : others) {
      if (!other.counted.ids.contains(id)) continue;
      mapped = true;
      other.findings += ignored;
      if (other.example.empty()) other.example = id;
    }
    if (mapped) total += ignored;
  }
  if (total == 0) return std::nullopt;

  const Other& best = *std::max_element(others.begin(), others.end(),
                                        [](const Other& a, const Other& b) { return a.findings < b.findings; });
  const StandardInfo& chosenInfo = standardInfo(standard);
  const std::string flag(standardInfo(best.standard).flags.front());
  std::string text = counted(total, "finding has an id", "findings have ids") + " that " +
                     std::string(chosenInfo.guidelinesName) + " does not map but another standard does, for example " +
                     best.example + ": " + flag + " would count " +
                     (total == 1 ? std::string("it") : std::to_string(best.findings) + " of them");
  return RunWarning{"ids-of-another-standard", total, best.example, std::move(text)};
}

std::optional<RunWarning> filesListWarning(const ResultsIndex& results, const std::vector<FileEntry>& entries) {
  std::unordered_set<std::string_view> listed;
  listed.reserve(entries.size());
  for (const auto& entry : entries) listed.insert(entry.fileName);

  // Every file name the findings' locations give, once; each distinct view of a name is
  // looked up by its text once.
  std::unordered_set<std::string_view, ViewHash, SameView> views;
  std::unordered_set<std::string_view> named;
  bool namesOthers = false;
  for (const auto& record : results.document().results)
    for (const auto& location : record.locations)
      if (views.insert(location.file).second && named.insert(location.file).second && !listed.contains(location.file))
        namesOthers = true;
  if (!namesOthers) return std::nullopt;

  std::unordered_set<std::string_view> seen;
  std::vector<std::string_view> unnamed;  // in list order, each name once
  for (const auto& entry : entries) {
    const std::string_view name(entry.fileName);
    if (!named.contains(name) && seen.insert(name).second) unnamed.push_back(name);
  }
  if (unnamed.empty()) return std::nullopt;

  // md5sum -b writes "HASH *NAME": the list's name keeps the "*".
  const auto starred = std::find_if(unnamed.begin(), unnamed.end(), [&](std::string_view name) {
    return name.size() > 1 && name.front() == '*' && named.contains(name.substr(1));
  });
  const std::string example(starred != unnamed.end() ? *starred : unnamed.front());
  std::string text = counted(unnamed.size(), "file of the files list is", "files of the files list are") +
                     " named by no finding while findings name other files, for example " + example + ": ";
  if (starred != unnamed.end())
    text +=
        "md5sum -b writes HASH *NAME and the list keeps the * in the name, while findings name " + example.substr(1);
  else
    text += "do the files list and the results name the files by the same paths?";
  return RunWarning{"files-without-findings", unnamed.size(), example, std::move(text)};
}

std::optional<RunWarning> suppressionsWarning(CodingStandard standard, const SuppressionSet& suppressions) {
  if (suppressions.empty()) return std::nullopt;
  const auto known = suppressibleIds(standard);
  std::size_t unknown = 0;
  std::string example;
  for (const auto& id : suppressions) {
    if (known.contains(id)) continue;
    if (unknown++ == 0) example = id;
  }
  if (unknown == 0) return std::nullopt;
  std::string text = counted(unknown, "--suppressions= id is", "--suppressions= ids are") +
                     " mapped by no guideline of " + std::string(standardInfo(standard).guidelinesName) +
                     ", for example " + example + ": " + (unknown == 1 ? "it suppresses" : "they suppress") +
                     " nothing";
  return RunWarning{"unknown-suppressions", unknown, example, std::move(text)};
}

std::vector<RunWarning> runWarnings(CodingStandard standard, const ResultsIndex& results,
                                    const std::optional<std::vector<FileEntry>>& files,
                                    const SuppressionSet& suppressions) {
  std::vector<RunWarning> warnings = resultsShapeWarnings(results.document());
  if (auto warning = otherStandardWarning(standard, results)) warnings.push_back(std::move(*warning));
  if (files)
    if (auto warning = filesListWarning(results, *files)) warnings.push_back(std::move(*warning));
  if (auto warning = suppressionsWarning(standard, suppressions)) warnings.push_back(std::move(*warning));
  return warnings;
}

}  // namespace guidegate
