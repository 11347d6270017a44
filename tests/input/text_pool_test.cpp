#include <gtest/gtest.h>

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

}  // namespace
}  // namespace guidegate
