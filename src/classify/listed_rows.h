// The guidelines a run of a standard judges.
#pragma once

#include <string_view>
#include <vector>

#include "catalogues/coding_standard.h"

namespace guidegate {

// The catalogue a run of `standard` judges: the MISRA C table of its edition, or the
// standard's report catalogue.
ReportCatalogue judgedCatalogue(CodingStandard standard);

// A row the report lists, with its MISRA C category.
struct ListedRow {
  const Guideline* row;
  std::string_view category;  // MISRA C and C++; empty for other standards
};

// The rows of `catalogue` the report lists, in catalogue order: every row, or for
// MISRA C the rows its category table knows.
std::vector<ListedRow> listedRows(CodingStandard standard, const GuidelineCatalogue& catalogue);

}  // namespace guidegate
