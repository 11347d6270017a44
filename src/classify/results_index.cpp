#include "classify/results_index.h"

namespace guidegate {

namespace {
const std::vector<std::uint32_t> noPositions;
}

ResultsIndex::ResultsIndex(const ResultsDocument& document) : document_(document) {
  const auto& results = document.results;
  findingsById_.reserve(1024);
  for (std::uint32_t i = 0; i < results.size(); ++i) {
    const auto& record = results[i];
    findingsById_[record.id].push_back(i);
    if (record.severity == "error")
      ++errors_;
    else if (record.severity == "warning")
      ++warnings_;
  }
  for (std::uint32_t i = 0; i < document.suppressions.size(); ++i)
    suppressionsById_[document.suppressions[i]].push_back(i);
}

const std::vector<std::uint32_t>& ResultsIndex::findingsWithId(std::string_view id) const {
  auto found = findingsById_.find(id);
  return found == findingsById_.end() ? noPositions : found->second;
}

const std::vector<std::uint32_t>& ResultsIndex::suppressionsOf(std::string_view id) const {
  auto found = suppressionsById_.find(id);
  return found == suppressionsById_.end() ? noPositions : found->second;
}

}  // namespace guidegate
