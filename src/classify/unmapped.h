// The findings that no guideline of a standard maps.
#pragma once

#include <string>
#include <vector>

#include "catalogues/guideline.h"
#include "classify/results_index.h"

namespace guidegate {

// An error or warning id that no guideline of the standard maps.
struct UnmappedCount {
  std::string severity;  // "error" or "warning"
  std::string id;
  int count = 0;
};

// The errors and warnings whose id no row of `catalogue` maps, plainly or with the
// "solvane-" prefix: error ids, then warning ids, each in ascending byte order.
std::vector<UnmappedCount> unmappedCounts(const ResultsIndex& results, const GuidelineCatalogue& catalogue);

}  // namespace guidegate
