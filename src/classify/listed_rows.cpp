#include "classify/listed_rows.h"

#include <string>
#include <unordered_map>

#include "catalogues/misra_c_categories.h"

namespace guidegate {
namespace {

std::string misraCCategoryKey(const MisraCCategory& entry) {
  return (entry.directive ? "Dir " : "") + std::to_string(entry.major) + "." + std::to_string(entry.minor);
}

}  // namespace

ReportCatalogue judgedCatalogue(CodingStandard standard) {
  const auto edition = misraCEdition(standard);
  return edition ? ReportCatalogue::builtIn(misraCCatalogue(*edition)) : reportCatalogue(standard);
}

std::vector<ListedRow> listedRows(CodingStandard standard, const GuidelineCatalogue& catalogue) {
  std::vector<ListedRow> rows;
  rows.reserve(catalogue.size());
  if (!misraCEdition(standard)) {
    for (const auto& row : catalogue) rows.push_back({&row, {}});
    return rows;
  }
  std::unordered_map<std::string, const MisraCCategory*> categories;
  for (const auto& entry : misraCCategories()) categories.try_emplace(misraCCategoryKey(entry), &entry);
  for (const auto& row : catalogue)
    if (auto found = categories.find(row.id); found != categories.end())
      rows.push_back({&row, found->second->category});
  return rows;
}

}  // namespace guidegate
