#include "classify/message_count.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace guidegate {
namespace {

ResultRecord finding(const std::string& id, const std::string& remark = "") {
  return ResultRecord{id, "style", remark, {"src/" + id + ".c"}};
}

// Counts `id` for the guideline "G" over `findings`, filing into `accepted`.
std::string countText(const std::vector<ResultRecord>& findings, const std::string& id,
                      AcceptedViolations& accepted) {
  ResultsDocument document;
  document.results = findings;
  const ResultsIndex index(document);
  return messageCountText(index, id, Guideline{"G", "", id}, accepted);
}

std::vector<std::string> filedRemarks(const AcceptedViolations& accepted, const std::string& guideline) {
  std::vector<std::string> remarks;
  if (auto entry = accepted.find(guideline); entry != accepted.end())
    for (const auto& record : entry->second) remarks.push_back(record.remark);
  return remarks;
}

TEST(MessageCount, NoMatchingFindingGivesNoTextAndFilesNothing) {
  AcceptedViolations accepted;
  EXPECT_EQ(countText({finding("nullPointerRedundantCheck"), finding("NullPointer", "r")}, "nullPointer", accepted),
            "");
  EXPECT_TRUE(accepted.empty());
}

TEST(MessageCount, SentenceCountsUnremarkedFindingsAlwaysInPlural) {
  AcceptedViolations accepted;
  const auto three = std::vector{finding("nullPointer"), finding("uninitvar"), finding("nullPointer"),
                                 finding("nullPointer")};
  EXPECT_EQ(countText(three, "nullPointer", accepted), "<br>There are 3 'nullPointer' messages.");
  EXPECT_EQ(countText({finding("nullPointer")}, "nullPointer", accepted), "<br>There are 1 'nullPointer' messages.");
  EXPECT_EQ(messageSentence(0, "nullPointer"), "");
  EXPECT_EQ(messageSentence(12, "x"), "<br>There are 12 'x' messages.");
}

TEST(MessageCount, RemarkedFindingsAreFiledAsWholeRecordsNotCounted) {
  AcceptedViolations accepted;
  const auto findings = std::vector{finding("nullPointer"), ResultRecord{"nullPointer", "error", "ok", {"a.c", "b.c"}}};
  EXPECT_EQ(countText(findings, "nullPointer", accepted), "<br>There are 1 'nullPointer' messages.");
  ASSERT_EQ(accepted["G"].size(), 1u);
  const ResultRecord& filed = accepted["G"][0];
  EXPECT_EQ(filed.id, "nullPointer");
  EXPECT_EQ(filed.severity, "error");
  EXPECT_EQ(filed.remark, "ok");
  EXPECT_EQ(filed.files, (std::vector<std::string>{"a.c", "b.c"}));
}

TEST(MessageCount, AllRemarkedGivesNoTextButFilesEveryOne) {
  AcceptedViolations accepted;
  accepted["G"].push_back(finding("earlier", "r0"));
  EXPECT_EQ(countText({finding("uninitvar", "r1"), finding("uninitvar", "r2")}, "uninitvar", accepted), "");
  EXPECT_EQ(filedRemarks(accepted, "G"), (std::vector<std::string>{"r0", "r1", "r2"}));
}

TEST(MessageCount, PrefixedMisraCIdAlsoMatchesTheDashedEditionForm) {
  AcceptedViolations accepted;
  const auto findings = std::vector{finding("solvane-misra-c-2012-8.4"), finding("solvane-misra-c2012-8.4"),
                                    finding("solvane-misra-c-2012-8.4"), finding("misra-c2012-8.4")};
  EXPECT_EQ(countText(findings, "solvane-misra-c2012-8.4", accepted),
            "<br>There are 3 'solvane-misra-c2012-8.4' messages.");
  EXPECT_EQ(countText({finding("solvane-misra-c-2023-dir-4.3")}, "solvane-misra-c2023-dir-4.3", accepted),
            "<br>There are 1 'solvane-misra-c2023-dir-4.3' messages.");
}

TEST(MessageCount, UnprefixedIdHasNoAlternativeForm) {
  AcceptedViolations accepted;
  const auto findings = std::vector{finding("misra-c-2012-8.4"), finding("solvane-misra-c-2012-8.4"),
                                    finding("solvane-misra-c2012-8.4"), finding("misra-c2012-8.4")};
  EXPECT_EQ(countText(findings, "misra-c2012-8.4", accepted), "<br>There are 1 'misra-c2012-8.4' messages.");
  EXPECT_EQ(countText(findings, "solvane-misra-cpp-2008-0-1-4", accepted), "");
  EXPECT_EQ(countText({finding("solvane-misra-cpp-2008-0-1-4")}, "solvane-misra-cpp-2008-0-1-4", accepted),
            "<br>There are 1 'solvane-misra-cpp-2008-0-1-4' messages.");
}

TEST(MessageCount, RemarkedFindingsOfBothFormsAreFiledInFileOrder) {
  AcceptedViolations accepted;
  const auto findings = std::vector{
      finding("solvane-misra-c-2012-8.4", "r1"), finding("solvane-misra-c2012-8.4", "r2"),
      finding("solvane-misra-c2012-8.4"),        finding("solvane-misra-c2012-8.4", "r3"),
      finding("solvane-misra-c-2012-8.4", "r4"), finding("solvane-misra-c-2012-8.4"),
      finding("solvane-misra-c2012-8.4", "r5")};
  EXPECT_EQ(countText(findings, "solvane-misra-c2012-8.4", accepted),
            "<br>There are 2 'solvane-misra-c2012-8.4' messages.");
  EXPECT_EQ(filedRemarks(accepted, "G"), (std::vector<std::string>{"r1", "r2", "r3", "r4", "r5"}));
}

TEST(MessageCount, EachMatchingCallFilesAgainAndCountMessagesReturnsTheCount) {
  ResultsDocument document;
  document.results = {finding("memleak", "once"), finding("memleak")};
  const ResultsIndex index(document);
  AcceptedViolations accepted;
  const Guideline row{"22.1", "", "memleak,memleak"};
  EXPECT_EQ(countMessages(index, "memleak", row, accepted), 1);
  EXPECT_EQ(countMessages(index, "memleak", row, accepted), 1);
  EXPECT_EQ(filedRemarks(accepted, "22.1"), (std::vector<std::string>{"once", "once"}));
}

TEST(MessageCount, SentenceShowsTheIdEscaped) {
  AcceptedViolations accepted;
  EXPECT_EQ(countText({finding("a<b>&'\"")}, "a<b>&'\"", accepted),
            "<br>There are 1 'a&lt;b&gt;&amp;&#39;&quot;' messages.");
}

}  // namespace
}  // namespace guidegate
