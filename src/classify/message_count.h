// Counting the findings of one analyzer id against one guideline.
#pragma once

#include <string>

#include "catalogues/guideline.h"
#include "classify/results_index.h"
#include "classify/run_state.h"

namespace guidegate {

// The number of findings with `id` (or, for "solvane-misra-c20..." ids, with the
// "solvane-misra-c-20..." form) that carry no remark. Findings that carry a remark
// are not counted but appended to acceptedViolations[row.id], in file order.
int countMessages(const ResultsIndex& results, const std::string& id, const Guideline& row,
                  AcceptedViolations& acceptedViolations);

// The sentence a compliance cell shows for `count` findings of `id`:
// "<br>There are N 'id' messages.", or the empty text when `count` is 0.
std::string messageSentence(int count, const std::string& id);

// countMessages and messageSentence in one.
std::string messageCountText(const ResultsIndex& results, const std::string& id, const Guideline& row,
                             AcceptedViolations& acceptedViolations);

}  // namespace guidegate
