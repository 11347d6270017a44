#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "input/results_document.h"

namespace guidegate {
namespace {

// Many distinct texts, short and long, some the prefixes of others, interned twice:
// the second time each gives back the first copy, which still reads the same after the
// table has grown many times over.
TEST(TextPool, HoldsEachDistinctTextOnceAcrossGrowth) {
  TextPool pool;
  std::vector<std::string> texts;
  for (int i = 0; i < 5000; ++i) texts.push_back("src/module" + std::to_string(i % 100) + "/file" + std::to_string(i) + ".c");
  texts.push_back(std::string(100000, 'x'));  // longer than a block
  texts.push_back(std::string(99999, 'x'));
  texts.push_back("src");
  texts.push_back("sr");
  std::vector<std::string_view> first;
  for (const auto& text : texts) first.push_back(pool.intern(text));
  EXPECT_EQ(pool.size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::string copy = texts[i];  // another address, the same text
    const std::string_view again = pool.intern(copy);
    EXPECT_EQ(again, texts[i]);
    EXPECT_EQ(again.data(), first[i].data()) << texts[i].substr(0, 40);
  }
  EXPECT_EQ(pool.size(), texts.size());
}

TEST(TextPool, KeepsEmptyTextsAndNulBytes) {
  TextPool pool;
  EXPECT_EQ(pool.intern(""), "");
  EXPECT_EQ(pool.intern(std::string_view()), "");
  using namespace std::string_view_literals;
  const std::string_view withNul = pool.intern("a\0b"sv);
  EXPECT_EQ(withNul, "a\0b"sv);
  EXPECT_NE(pool.intern("a\0c"sv), withNul);
  EXPECT_EQ(pool.intern("a"), "a");
}

// The locations of many findings, one to thousands each, far more than one block holds:
// every span still reads what was kept, in order, after all the others were kept.
TEST(LocationPool, KeepsEveryFindingsLocationsInPlace) {
  LocationPool pool;
  std::vector<std::vector<Location>> kept;
  std::vector<std::span<const Location>> spans;
  for (int i = 0; i < 20000; ++i) {
    const int count = i % 1000 == 999 ? 3000 : 1 + i % 3;  // some longer than a block
    std::vector<Location>& locations = kept.emplace_back();
    for (int l = 0; l < count; ++l) locations.push_back({"f.c", i, l});
    spans.push_back(pool.keep(locations));
  }
  for (std::size_t i = 0; i < kept.size(); ++i)
    ASSERT_TRUE(std::ranges::equal(spans[i], kept[i])) << "finding " << i;
  EXPECT_TRUE(pool.keep({}).empty());
}

}  // namespace
}  // namespace guidegate
