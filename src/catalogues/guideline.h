// The row model of every built-in guideline table.
#pragma once

#include <string>
#include <vector>

namespace guidegate {

// One guideline of a coding standard.
struct Guideline {
  std::string id;         // as the standard writes it; directives begin with "Dir "
  std::string text;       // published headline, an HTML fragment shown unescaped
  std::string mappedIds;  // analyzer ids counted against the guideline, joined by ","
};

// Guidelines in the standard's order, which is also the order of the report.
using GuidelineCatalogue = std::vector<Guideline>;

}  // namespace guidegate
