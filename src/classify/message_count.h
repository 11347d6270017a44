// Counting the findings of one analyzer id against one guideline.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classify/results_index.h"

namespace guidegate {

// The findings of one id as a guideline counts them.
struct MessageCount {
  int count = 0;                        // findings without a remark
  std::vector<std::uint32_t> counted;   // their positions, in file order
  std::vector<std::uint32_t> accepted;  // positions of the findings with a remark, in file order
};

// The findings with `id` (or, for "solvane-misra-c20..." ids, with the
// "solvane-misra-c-20..." form as well): those without a remark count; those with
// one are accepted violations.
MessageCount countMessages(const ResultsIndex& results, const std::string& id);

// The ids whose findings countMessages counts for `id`: `id` itself, and its
// "solvane-misra-c-20..." form when it is a "solvane-misra-c20..." id.
std::vector<std::string> countedForms(const std::string& id);

}  // namespace guidegate
