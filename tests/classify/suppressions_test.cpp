#include "classify/suppressions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace guidegate {
namespace {

std::string joined(const std::vector<std::string>& ids) {
  std::string text;
  for (const auto& id : ids) text += (text.empty() ? "" : ", ") + id;
  return text;
}

// The set that --suppressions= values give; `values` holds each value between commas,
// as ",a,,b," for the two options a and b.
SuppressionSet set(const std::string& values) {
  SuppressionSet suppressions;
  addSuppressions(suppressions, values);
  return suppressions;
}

std::string byOption(const std::string& values, const std::string& mappedIds) {
  return joined(suppressedByOption(set(values), Guideline{"G", "", mappedIds}));
}

std::string inResults(const std::vector<std::string>& suppressions, const std::string& mappedIds) {
  ResultsDocument document;
  document.suppressions = suppressions;
  const ResultsIndex index(document);
  return joined(suppressedInResults(index, Guideline{"G", "", mappedIds}));
}

TEST(AddSuppressions, EveryCommaSeparatedPieceAsWritten) {
  EXPECT_EQ(set("a,b"), (SuppressionSet{"a", "b"}));
  EXPECT_EQ(set("a, b,,"), (SuppressionSet{"a", " b"}));
  EXPECT_EQ(set(""), SuppressionSet{});
  EXPECT_EQ(set("a\tb,A"), (SuppressionSet{"a\tb", "A"}));
}

TEST(SuppressedByOption, FindsCommaFramedItemsInPlainAndPrefixedForm) {
  EXPECT_EQ(byOption(",misra-c2012-8.4,", "misra-c2012-8.4"), "misra-c2012-8.4");
  EXPECT_EQ(byOption(",solvane-misra-c2012-8.4,", "misra-c2012-8.4"), "solvane-misra-c2012-8.4");
  // Two options a and b give ",a,,b,".
  EXPECT_EQ(byOption(",a,,b,", "a,b"), "a, b");
  EXPECT_EQ(byOption(",x,b,y,a,", "a, b"), "a, b");
}

TEST(SuppressedByOption, MatchesOnlyWholeItemsWithACommaOnEachSide) {
  EXPECT_EQ(byOption(",misra-c2012-8.4, solvane-cert-int30-c,", "solvane-cert-int30-c"), "");
  EXPECT_EQ(byOption(",misra-c2012-8.4, solvane-cert-int30-c,", "misra-c2012-8.4"), "misra-c2012-8.4");
  EXPECT_EQ(byOption(",xa,ab,", "a"), "");
  EXPECT_EQ(byOption(",A,", "a"), "");
  EXPECT_EQ(byOption("", "a"), "");
}

TEST(SuppressedByOption, PrefixedMappedIdNeedsItsWholeForm) {
  EXPECT_EQ(byOption(",cert-int30-c,", "solvane-cert-int30-c"), "");
  EXPECT_EQ(byOption(",solvane-cert-int30-c,", "solvane-cert-int30-c"), "solvane-cert-int30-c");
  EXPECT_EQ(byOption(",solvane-solvane-cert-int30-c,", "solvane-cert-int30-c"), "solvane-solvane-cert-int30-c");
}

TEST(SuppressedByOption, ListsMappedOrderPlainBeforePrefixedEachOnce) {
  EXPECT_EQ(byOption(",solvane-a,a,b,", "b,a"), "b, a, solvane-a");
  EXPECT_EQ(byOption(",a,,a,,solvane-a,", "a"), "a, solvane-a");
  EXPECT_EQ(byOption(",a,", "a,a"), "a, a");
}

TEST(SuppressedInResults, ListsEveryMatchingEntryInFileOrderPerMappedId) {
  EXPECT_EQ(inResults({"solvane-a", "x", "a", "solvane-a"}, "a"), "solvane-a, a, solvane-a");
  EXPECT_EQ(inResults({"a", "b"}, "b,a"), "b, a");
  EXPECT_EQ(inResults({"id1", "id2"}, "id1,id2"), "id1, id2");
  EXPECT_EQ(inResults({"a", "a"}, "a"), "a, a");
}

TEST(SuppressedInResults, ComparesWholeIdsCaseSensitively) {
  EXPECT_EQ(inResults({"cert-int30-c"}, "solvane-cert-int30-c"), "");
  EXPECT_EQ(inResults({"solvane-cert-int30-c"}, "solvane-cert-int30-c"), "solvane-cert-int30-c");
  EXPECT_EQ(inResults({"A", "ab", "a ", "solvane-", ""}, "a"), "");
  EXPECT_EQ(inResults({}, "a"), "");
  EXPECT_EQ(inResults({"a"}, ""), "");
}

TEST(MisraConfigSuppressed, TrueWhenEitherFormIsSuppressedAnywhere) {
  ResultsDocument none;
  EXPECT_TRUE(misraConfigSuppressed(none, set("misra-config")));
  EXPECT_TRUE(misraConfigSuppressed(none, set(",x,,solvane-misra-config,")));
  ResultsDocument plain;
  plain.suppressions = {"nullPointer", "misra-config"};
  EXPECT_TRUE(misraConfigSuppressed(plain, set("")));
  ResultsDocument prefixed;
  prefixed.suppressions = {"solvane-misra-config"};
  EXPECT_TRUE(misraConfigSuppressed(prefixed, set(",other,")));
}

TEST(MisraConfigSuppressed, FalseWhenNothingNamesIt) {
  ResultsDocument document;
  EXPECT_FALSE(misraConfigSuppressed(document, set("")));
  EXPECT_FALSE(misraConfigSuppressed(document, set(",x, misra-config,")));
  EXPECT_FALSE(misraConfigSuppressed(document, set(",misra-config-x,")));
  document.suppressions = {"Misra-config", "misra-config ", "cert-misra-config"};
  EXPECT_FALSE(misraConfigSuppressed(document, set(",misra-configs,")));
}

}  // namespace
}  // namespace guidegate
