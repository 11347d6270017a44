#include "classify/unmapped.h"

#include <unordered_set>

#include "classify/id_list.h"

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

}  // namespace

std::vector<UnmappedCount> unmappedCounts(const ResultsIndex& results, const GuidelineCatalogue& catalogue) {
  const auto known = knownIds(catalogue);
  std::vector<UnmappedCount> rows;
  for (const char* severity : {"error", "warning"})
    for (const auto& [id, count] : countById(results, severity))
      if (!known.contains(id)) rows.push_back({severity, id, count});
  return rows;
}

}  // namespace guidegate
