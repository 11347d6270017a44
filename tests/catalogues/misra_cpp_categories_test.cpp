// The MISRA C++ category tables: one entry per catalogue row, in the same order, with
// the published categories.
#include "catalogues/misra_cpp_categories.h"

#include <gtest/gtest.h>

#include "catalogues/tables.h"

namespace guidegate {
namespace {

void expectSameIds(const std::vector<MisraCppCategory>& categories, const GuidelineCatalogue& catalogue) {
  ASSERT_EQ(categories.size(), catalogue.size());
  for (std::size_t i = 0; i < catalogue.size(); ++i) EXPECT_EQ(categories[i].id, catalogue[i].id) << i;
}

TEST(MisraCppCategories, FollowTheCatalogueRowByRow) {
  expectSameIds(misraCpp2008Categories, misraCpp2008Catalogue);
  expectSameIds(misraCpp2023Categories, misraCpp2023Catalogue);
}

TEST(MisraCppCategories, HoldThePublishedCategories) {
  EXPECT_EQ(misraCpp2008Categories.front().category, "Required");        // 0-1-1
  EXPECT_EQ(misraCpp2008Categories.front().decidability, "");
  EXPECT_EQ(misraCpp2023Categories.front().category, "Required");        // 0.0.1
  EXPECT_EQ(misraCpp2023Categories.front().decidability, "Decidable");
  for (const auto& entry : misraCpp2023Categories) {
    // Rules are decidable or not; the four directives are neither.
    EXPECT_EQ(entry.id.starts_with("Dir "), entry.decidability.empty()) << entry.id;
    if (entry.id == "6.8.2") { EXPECT_EQ(entry.category, "Mandatory"); }
    if (entry.id == "Dir 0.3.1") { EXPECT_EQ(entry.category, "Advisory"); }
  }
  for (const auto& entry : misraCpp2008Categories) EXPECT_NE(entry.category, "Mandatory") << entry.id;
}

}  // namespace
}  // namespace guidegate
