#include "classify/results_index.h"

namespace guidegate {

namespace {
const std::vector<std::uint32_t> noPositions;
}

ResultsIndex::ResultsIndex(const ResultsDocument& document) : document_(document) {
  const auto& results = document.results;
  idNumbers_.reserve(1024);
  for (std::uint32_t i = 0; i < results.size(); ++i) {
    const auto& record = results[i];
    const auto [place, added] = idNumbers_.try_emplace(record.id, static_cast<std::uint32_t>(ids_.size()));
    if (added) ids_.push_back({record.id, {}});
    IdFindings& findings = ids_[place->second];
    findings.positions.push_back(i);
    if (record.severity == "error") {
      ++findings.errors;
      ++errors_;
      errorsAndWarnings_.push_back(i);
    } else if (record.severity == "warning") {
      ++findings.warnings;
      ++warnings_;
      errorsAndWarnings_.push_back(i);
    }
  }
  for (std::uint32_t i = 0; i < document.suppressions.size(); ++i)
    suppressionsById_[document.suppressions[i]].push_back(i);
}

const std::vector<std::uint32_t>& ResultsIndex::findingsWithId(std::string_view id) const {
  auto found = idNumbers_.find(id);
  return found == idNumbers_.end() ? noPositions : ids_[found->second].positions;
}

const std::vector<std::uint32_t>& ResultsIndex::suppressionsOf(std::string_view id) const {
  auto found = suppressionsById_.find(id);
  return found == suppressionsById_.end() ? noPositions : found->second;
}

std::map<std::string, int> countById(const ResultsIndex& results, std::string_view severity) {
  std::map<std::string, int> counts;
  for (const auto& findings : results.ids()) {
    const int count = severity == "error" ? findings.errors : severity == "warning" ? findings.warnings : 0;
    if (count > 0) counts.emplace(findings.id, count);
  }
  return counts;
}

}  // namespace guidegate
