// Which ids of a guideline are suppressed, on the command line or in the analysis.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "catalogues/guideline.h"
#include "classify/results_index.h"
#include "input/results_document.h"

namespace guidegate {

// The ids the --suppressions= options name: every comma-separated piece of every
// value, exactly as written (blanks are part of a piece).
using SuppressionSet = std::set<std::string, std::less<>>;

// Adds the pieces of one --suppressions= value to `set`.
void addSuppressions(SuppressionSet& set, std::string_view value);

// The mapped ids of `row` (plain, then "solvane-" form) that `suppressions` names.
std::vector<std::string> suppressedByOption(const SuppressionSet& suppressions, const Guideline& row);
// The mapped ids of `row` that the results file suppresses, in the file's order for
// each mapped id, duplicates kept.
std::vector<std::string> suppressedInResults(const ResultsIndex& results, const Guideline& row);
// Whether the id misra-config (or solvane-misra-config) is suppressed anywhere.
bool misraConfigSuppressed(const ResultsDocument& document, const SuppressionSet& suppressions);

}  // namespace guidegate
