// Whether the checks behind a guideline ran in the analysis.
#pragma once

#include <ostream>

#include "catalogues/guideline.h"
#include "classify/run_state.h"

namespace guidegate {

// True when a mapped id of `row` translates to a checker label that ran. An id that
// needs the checker-name table but is missing from it is reported on `diagnostics`
// as "Internal error: id <id> missing mapping" and counts as not run.
bool guidelineExecuted(const CheckersRun& checkersRun, const Guideline& row, std::ostream& diagnostics);

}  // namespace guidegate
