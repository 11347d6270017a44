#include "classify/id_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>


namespace guidegate {
namespace {

using Ids = std::vector<std::string>;

TEST(SplitIdList, CommasAndBlanksSeparateAndEmptyPiecesAreDropped) {
  EXPECT_EQ(splitIdList("a,,b"), (Ids{"a", "b"}));
  EXPECT_EQ(splitIdList("a, b"), (Ids{"a", "b"}));
  EXPECT_EQ(splitIdList("nullPointer,uninitvar,memleak"), (Ids{"nullPointer", "uninitvar", "memleak"}));
  EXPECT_EQ(splitIdList("a  ,  b"), (Ids{"a", "b"}));
}

TEST(SplitIdList, EmptyAndSeparatorOnlyTextsGiveNoIds) {
  EXPECT_EQ(splitIdList(""), Ids{});
  EXPECT_EQ(splitIdList(","), Ids{});
  EXPECT_EQ(splitIdList(" , ,"), Ids{});
}

TEST(SplitIdList, LeadingAndTrailingSeparatorsAreIgnored) {
  EXPECT_EQ(splitIdList(",a,b,"), (Ids{"a", "b"}));
  EXPECT_EQ(splitIdList("  a b  "), (Ids{"a", "b"}));
  EXPECT_EQ(splitIdList(", single"), Ids{"single"});
}

TEST(SplitIdList, TabsAndOtherWhitespaceStayInsideThePiece) {
  EXPECT_EQ(splitIdList("a\tb"), Ids{"a\tb"});
  EXPECT_EQ(splitIdList("\ta,b\n"), (Ids{"\ta", "b\n"}));
}

}  // namespace
}  // namespace guidegate
