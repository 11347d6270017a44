// The run-wide state that classification reads and fills.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "input/checkers_report.h"
#include "input/results_document.h"

namespace guidegate {

// Guideline id to the remarked findings filed under it, in the order met.
using AcceptedViolations = std::map<std::string, std::vector<ResultRecord>>;
// Guideline id to its ids that the results file suppresses.
using SuppressedIds = std::map<std::string, std::vector<std::string>>;

}  // namespace guidegate
