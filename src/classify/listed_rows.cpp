#include "classify/listed_rows.h"

#include <string>
#include <unordered_map>

#include "catalogues/misra_c_categories.h"
#include "catalogues/misra_cpp_categories.h"

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
    // Every row is listed; a MISRA C++ row carries its category, which the CI outputs
    // name, while the report itself shows none.
    const std::vector<MisraCppCategory>* table = standard == CodingStandard::MisraCpp2008   ? &misraCpp2008Categories
                                                 : standard == CodingStandard::MisraCpp2023 ? &misraCpp2023Categories
                                                                                            : nullptr;
    std::unordered_map<std::string_view, std::string_view> categories;
    if (table)
      for (const auto& entry : *table) categories.try_emplace(entry.id, entry.category);
    for (const auto& row : catalogue) {
      const auto found = categories.find(row.id);
      rows.push_back({&row, found == categories.end() ? std::string_view{} : found->second});
    }
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
