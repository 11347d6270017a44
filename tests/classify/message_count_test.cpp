#include "classify/message_count.h"

#include "classify/run_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace guidegate {
namespace {

// The texts of hand-made records, held for the whole test program.
std::string_view kept(std::string_view text) {
  static TextPool texts;
  return texts.intern(text);
}

// Their locations, likewise.
std::span<const Location> keptAt(std::vector<Location> locations) {
  static LocationPool places;
  return places.keep(locations);
}

ResultRecord finding(const std::string& id, const std::string& remark = "") {
  return ResultRecord{kept(id), "style", kept(remark), keptAt({{kept("src/" + id + ".c")}})};
}

// Counts `id` over `findings`; the remarked findings are filed under "G" in `accepted`.
// Returns the count.
int countText(const std::vector<ResultRecord>& findings, const std::string& id, AcceptedViolations& accepted) {
  ResultsDocument document;
  document.results = findings;
  const ResultsIndex index(document);
  const MessageCount counted = countMessages(index, id);
  for (const auto position : counted.accepted) accepted["G"].push_back(document.results[position]);
  EXPECT_EQ(counted.counted.size(), static_cast<std::size_t>(counted.count));
  return counted.count;
}

std::vector<std::string> filedRemarks(const AcceptedViolations& accepted, const std::string& guideline) {
  std::vector<std::string> remarks;
  if (auto entry = accepted.find(guideline); entry != accepted.end())
    for (const auto& record : entry->second) remarks.emplace_back(record.remark);
  return remarks;
}

TEST(MessageCount, NoMatchingFindingGivesNoCountAndFilesNothing) {
  AcceptedViolations accepted;
  EXPECT_EQ(countText({finding("nullPointerRedundantCheck"), finding("NullPointer", "r")}, "nullPointer", accepted),
            0);
  EXPECT_TRUE(accepted.empty());
}

TEST(MessageCount, CountsUnremarkedFindingsOnly) {
  AcceptedViolations accepted;
  const auto three = std::vector{finding("nullPointer"), finding("uninitvar"), finding("nullPointer"),
                                 finding("nullPointer")};
  EXPECT_EQ(countText(three, "nullPointer", accepted), 3);
  EXPECT_EQ(countText({finding("nullPointer")}, "nullPointer", accepted), 1);
}

TEST(MessageCount, RemarkedFindingsAreFiledAsWholeRecordsNotCounted) {
  AcceptedViolations accepted;
  const auto findings = std::vector{finding("nullPointer"), ResultRecord{"nullPointer", "error", "ok", keptAt({{"a.c"}, {"b.c"}})}};
  EXPECT_EQ(countText(findings, "nullPointer", accepted), 1);
  ASSERT_EQ(accepted["G"].size(), 1u);
  const ResultRecord& filed = accepted["G"][0];
  EXPECT_EQ(filed.id, "nullPointer");
  EXPECT_EQ(filed.severity, "error");
  EXPECT_EQ(filed.remark, "ok");
  ASSERT_EQ(filed.locations.size(), 2u);
  EXPECT_EQ(filed.locations[0].file, "a.c");
  EXPECT_EQ(filed.locations[1].file, "b.c");
}

TEST(MessageCount, AllRemarkedGivesNoTextButFilesEveryOne) {
  AcceptedViolations accepted;
  accepted["G"].push_back(finding("earlier", "r0"));
  EXPECT_EQ(countText({finding("uninitvar", "r1"), finding("uninitvar", "r2")}, "uninitvar", accepted), 0);
  EXPECT_EQ(filedRemarks(accepted, "G"), (std::vector<std::string>{"r0", "r1", "r2"}));
}

TEST(MessageCount, PrefixedMisraCIdAlsoMatchesTheDashedEditionForm) {
  AcceptedViolations accepted;
  const auto findings = std::vector{finding("solvane-misra-c-2012-8.4"), finding("solvane-misra-c2012-8.4"),
                                    finding("solvane-misra-c-2012-8.4"), finding("misra-c2012-8.4")};
  EXPECT_EQ(countText(findings, "solvane-misra-c2012-8.4", accepted),
            3);
  EXPECT_EQ(countText({finding("solvane-misra-c-2023-dir-4.3")}, "solvane-misra-c2023-dir-4.3", accepted),
            1);
}

TEST(MessageCount, UnprefixedIdHasNoAlternativeForm) {
  AcceptedViolations accepted;
  const auto findings = std::vector{finding("misra-c-2012-8.4"), finding("solvane-misra-c-2012-8.4"),
                                    finding("solvane-misra-c2012-8.4"), finding("misra-c2012-8.4")};
  EXPECT_EQ(countText(findings, "misra-c2012-8.4", accepted), 1);
  EXPECT_EQ(countText(findings, "solvane-misra-cpp-2008-0-1-4", accepted), 0);
  EXPECT_EQ(countText({finding("solvane-misra-cpp-2008-0-1-4")}, "solvane-misra-cpp-2008-0-1-4", accepted),
            1);
}

TEST(MessageCount, RemarkedFindingsOfBothFormsAreFiledInFileOrder) {
  AcceptedViolations accepted;
  const auto findings = std::vector{
      finding("solvane-misra-c-2012-8.4", "r1"), finding("solvane-misra-c2012-8.4", "r2"),
      finding("solvane-misra-c2012-8.4"),        finding("solvane-misra-c2012-8.4", "r3"),
      finding("solvane-misra-c-2012-8.4", "r4"), finding("solvane-misra-c-2012-8.4"),
      finding("solvane-misra-c2012-8.4", "r5")};
  EXPECT_EQ(countText(findings, "solvane-misra-c2012-8.4", accepted),
            2);
  EXPECT_EQ(filedRemarks(accepted, "G"), (std::vector<std::string>{"r1", "r2", "r3", "r4", "r5"}));
}

TEST(MessageCount, PositionsFollowTheFileOrderOfBothForms) {
  ResultsDocument document;
  document.results = {finding("solvane-misra-c2012-8.4"), finding("x"), finding("solvane-misra-c-2012-8.4", "r"),
                      finding("solvane-misra-c-2012-8.4"), finding("solvane-misra-c2012-8.4", "r")};
  const ResultsIndex index(document);
  const MessageCount counted = countMessages(index, "solvane-misra-c2012-8.4");
  EXPECT_EQ(counted.counted, (std::vector<std::uint32_t>{0, 3}));
  EXPECT_EQ(counted.accepted, (std::vector<std::uint32_t>{2, 4}));
}

}  // namespace
}  // namespace guidegate
