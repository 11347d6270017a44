// Which ids of a guideline are suppressed, on the command line or in the analysis.
#pragma once

#include <string>

#include "catalogues/guideline.h"
#include "classify/results_index.h"
#include "input/results_document.h"

namespace guidegate {

// The mapped ids of `row` (plain, then "solvane-" form) that the comma-framed
// `suppressionList` names, joined by ", ".
std::string suppressedByOption(const std::string& suppressionList, const Guideline& row);
// The mapped ids of `row` that the results file suppresses, in the file's order for
// each mapped id, duplicates kept, joined by ", ".
std::string suppressedInResults(const ResultsIndex& results, const Guideline& row);
std::string suppressedInResults(const ResultsDocument& document, const Guideline& row);
// Whether the id misra-config (or solvane-misra-config) is suppressed anywhere.
bool misraConfigSuppressed(const ResultsDocument& document, const std::string& suppressionList);

}  // namespace guidegate
