// The category of every MISRA C++ 2008 and 2023 guideline.
#pragma once

#include <string_view>
#include <vector>

namespace guidegate {

struct MisraCppCategory {
  std::string_view id;            // as the catalogue writes it
  std::string_view category;      // "Mandatory", "Required" or "Advisory"
  std::string_view decidability;  // 2023 rules: "Decidable" or "Undecidable"; empty otherwise
};

extern const std::vector<MisraCppCategory> misraCpp2008Categories;  // 216 rules, catalogue order
extern const std::vector<MisraCppCategory> misraCpp2023Categories;  // 4 directives, 175 rules, catalogue order

}  // namespace guidegate
