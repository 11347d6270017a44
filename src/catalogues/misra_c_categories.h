// The category of every MISRA C 2012 and 2023 guideline.
#pragma once

#include <string_view>
#include <vector>

namespace guidegate {

struct MisraCCategory {
  int major;
  int minor;
  std::string_view category;  // "Mandatory", "Required" or "Advisory"
  int directive;              // 1 for a directive, 0 for a rule
};

// 21 directives, then 200 rules, one table for both editions.
const std::vector<MisraCCategory>& misraCCategories();

}  // namespace guidegate
