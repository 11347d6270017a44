#include "classify/guideline_status.h"

#include "classify/evaluation.h"
#include "html/status_cell.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace guidegate {
namespace {

// The texts of hand-made records, held for the whole test program.
std::string_view kept(std::string_view text) {
  static TextPool texts;
  return texts.intern(text);
}

ResultRecord finding(const std::string& id, const std::string& remark = "", const std::string& severity = "style") {
  return ResultRecord{kept(id), kept(severity), kept(remark), {}};
}

// The run-wide state of one report; the checkers report ran the MISRA C 8.4 check only.
class GuidelineStatusTest : public ::testing::Test {
 protected:
  ResultsDocument document;
  CheckersRun checkersRun{{"Misra C 2012: 8.4", true}, {"Cert C: INT34-C", false}};
  SuppressionSet suppressions;
  std::set<std::string> notImplemented;
  std::ostringstream diagnostics;
  bool compliant = true;
  AcceptedViolations accepted;
  SuppressedIds suppressedIds;

  std::string status(const std::string& id, const std::string& mappedIds) {
    const ResultsIndex index(document);
    const ClassificationInputs inputs{index, checkersRun, suppressions, notImplemented, diagnostics};
    const Guideline row{id, "headline", mappedIds};
    GuidelineVerdict verdict = guidelineStatus(row, inputs);
    fileAcceptedFindings(document, row, verdict, accepted);
    if (!verdict.suppressedInResults.empty()) suppressedIds[id] = verdict.suppressedInResults;
    if (verdict.clearsVerdict()) compliant = false;
    return statusCell(verdict);
  }

  void severities(int errors, int warnings) {
    for (int i = 0; i < errors; ++i) document.results.push_back(finding("e" + std::to_string(i), "ok", "error"));
    for (int i = 0; i < warnings; ++i) document.results.push_back(finding("w", "", "warning"));
    document.results.push_back(finding("s", "", "style"));
    document.results.push_back(finding("E", "", "Error"));
  }
};

TEST_F(GuidelineStatusTest, ErrorGuidelineWithErrorsShowsTheErrorSentenceOnly) {
  severities(2, 5);
  document.suppressions = {"error"};
  checkersRun.clear();
  EXPECT_EQ(status("1.3", "error"), "<font color=\"red\">Violations: There are 2 'error' message(s).</font>");
  EXPECT_FALSE(compliant);
  EXPECT_TRUE(accepted.empty());
  EXPECT_TRUE(suppressedIds.empty());
}

TEST_F(GuidelineStatusTest, ErrorGuidelineWithOnlyWarningsShowsTheWarningSentence) {
  severities(0, 5);
  checkersRun.clear();
  EXPECT_EQ(status("1.3", "error"), "<font color=\"red\">Violations: There are 5 'warning' message(s).</font>");
  EXPECT_FALSE(compliant);
}

TEST_F(GuidelineStatusTest, ErrorGuidelineWithoutErrorsOrWarningsIsCompliantEvenWhenNothingRan) {
  severities(0, 0);
  checkersRun.clear();
  EXPECT_EQ(status("1.3", "error"), "Compliant");
  EXPECT_TRUE(compliant);
  EXPECT_EQ(diagnostics.str(), "");
}

TEST_F(GuidelineStatusTest, ExecutedGuidelineWithoutFindingsIsCompliant) {
  document.results = {finding("uninitvar")};
  EXPECT_EQ(status("8.4", "misra-c2012-8.4"), "Compliant");
  EXPECT_TRUE(compliant);
  EXPECT_TRUE(accepted.empty());
  EXPECT_TRUE(suppressedIds.empty());
}

TEST_F(GuidelineStatusTest, ViolationsAcceptedAndSuppressedIdsInOneCell) {
  document.results = {finding("misra-c2012-8.4"), finding("solvane-misra-c-2012-8.4"), finding("nullPointer", "ok"),
                      finding("misra-c2012-8.4"), finding("solvane-nullPointer")};
  document.suppressions = {"solvane-misra-c2012-8.4"};
  suppressions = {"nullPointer"};
  EXPECT_EQ(status("8.4", "misra-c2012-8.4,nullPointer"),
            "<font color=\"red\">Violations:"
            "<br>There are 2 'misra-c2012-8.4' messages."
            "<br>There are 1 'solvane-misra-c2012-8.4' messages."
            "<br>There are 1 'solvane-nullPointer' messages.</font>"
            "<br>\nAccepted Violations:<br>nullPointer"
            "<br>Suppressed:<br>nullPointer, solvane-misra-c2012-8.4");
  EXPECT_FALSE(compliant);
  EXPECT_EQ(suppressedIds["8.4"], std::vector<std::string>{"solvane-misra-c2012-8.4"});
  EXPECT_EQ(accepted["8.4"].size(), 1u);
}

TEST_F(GuidelineStatusTest, ViolationsWithSuppressionsOnly) {
  document.results = {finding("nullPointer")};
  suppressions = {"nullPointer"};
  EXPECT_EQ(status("X", "nullPointer"),
            "<font color=\"red\">Violations:<br>There are 1 'nullPointer' messages.</font><br>Suppressed:<br>nullPointer");
  EXPECT_TRUE(suppressedIds.empty());
}

TEST_F(GuidelineStatusTest, AcceptedOnlyLeavesTheVerdictAlone) {
  document.results = {finding("nullPointer", "checked"), finding("nullPointer", "again")};
  EXPECT_EQ(status("1.1", "nullPointer"), "Accepted Violations:<br>nullPointer");
  EXPECT_TRUE(compliant);
  EXPECT_EQ(accepted["1.1"].size(), 2u);
}

TEST_F(GuidelineStatusTest, AcceptedListHoldsEarlierFilingsAndDistinctIdsByExactComparison) {
  accepted["1.1"].push_back(finding("earlierId", "r"));
  document.results = {finding("nullPointer", "r1"), finding("nullPointerRedundantCheck", "r2"),
                      finding("nullPointerRedundantCheck", "r3")};
  EXPECT_EQ(status("1.1", "nullPointerRedundantCheck,nullPointer"),
            "Accepted Violations:<br>earlierId<br>nullPointerRedundantCheck<br>nullPointer");
  EXPECT_EQ(accepted["1.1"].size(), 4u);
  EXPECT_TRUE(compliant);
}

TEST_F(GuidelineStatusTest, IdMappedTwiceIsFiledTwiceButListedOnce) {
  document.results = {finding("nullPointer", "r")};
  EXPECT_EQ(status("1.1", "nullPointer,nullPointer"), "Accepted Violations:<br>nullPointer");
  EXPECT_EQ(accepted["1.1"].size(), 2u);
}

TEST_F(GuidelineStatusTest, SuppressedInBothPlacesListsOptionIdsFirst) {
  suppressions = {"uninitvar", "nullPointer"};
  document.suppressions = {"uninitvar", "solvane-nullPointer"};
  suppressedIds["X"] = {"stale"};
  EXPECT_EQ(status("X", "nullPointer,uninitvar"),
            "Suppressed:<br>nullPointer, uninitvar, solvane-nullPointer, uninitvar");
  EXPECT_TRUE(compliant);
  EXPECT_EQ(suppressedIds["X"], (std::vector<std::string>{"solvane-nullPointer", "uninitvar"}));
}

TEST_F(GuidelineStatusTest, SuppressedInResultsOnlyAndDuplicatesKept) {
  document.suppressions = {"uninitvar", "uninitvar"};
  EXPECT_EQ(status("9.1", "uninitvar"), "Suppressed:<br>uninitvar, uninitvar");
  EXPECT_EQ(suppressedIds["9.1"], (std::vector<std::string>{"uninitvar", "uninitvar"}));
}

TEST_F(GuidelineStatusTest, NotExecutedReplacesTheWholeCellButKeepsTheSideEffects) {
  document.results = {finding("misra-c2012-8.5"), finding("misra-c2012-8.5", "ok")};
  document.suppressions = {"misra-c2012-8.5"};
  suppressions = {"misra-c2012-8.5"};
  EXPECT_EQ(status("8.5", "misra-c2012-8.5"), "<font color=\"red\">Not executed</font>");
  EXPECT_FALSE(compliant);
  EXPECT_EQ(accepted["8.5"].size(), 1u);
  EXPECT_EQ(suppressedIds["8.5"], std::vector<std::string>{"misra-c2012-8.5"});
}

TEST_F(GuidelineStatusTest, DirectiveWithoutIdsIsNotImplemented) {
  EXPECT_EQ(status("Dir 1.1", ""), "Not implemented");
  checkersRun.clear();
  EXPECT_EQ(status("Dir 4.1", ""), "Not implemented");
  EXPECT_TRUE(compliant);
  EXPECT_EQ(status("2.1", ""), "<font color=\"red\">Not executed</font>");
  EXPECT_FALSE(compliant);
}

TEST_F(GuidelineStatusTest, NotImplementedSetAppliesOnlyWhenNotExecuted) {
  notImplemented = {"79"};
  EXPECT_EQ(status("79", "solvane-cert-str02-c"), "Not implemented");
  EXPECT_TRUE(compliant);
  document.results = {finding("nullPointer")};
  EXPECT_EQ(status("79", "nullPointer"), "<font color=\"red\">Violations:<br>There are 1 'nullPointer' messages.</font>");
  compliant = true;
  EXPECT_EQ(status("20", "solvane-cert-str02-c"), "<font color=\"red\">Not executed</font>");
  EXPECT_FALSE(compliant);
}

TEST_F(GuidelineStatusTest, Int35NotExecutedIsPlainAndTolerated) {
  EXPECT_EQ(status("INT35", "solvane-cert-int35-c"), "Not executed");
  EXPECT_TRUE(compliant);
  EXPECT_EQ(status("INT34", "solvane-cert-int34-c"), "<font color=\"red\">Not executed</font>");
  EXPECT_FALSE(compliant);
  compliant = true;
  document.results = {finding("solvane-cert-int35-c")};
  EXPECT_EQ(status("INT35", "solvane-cert-int35-c"), "Not executed");
  EXPECT_FALSE(compliant);
}

TEST_F(GuidelineStatusTest, EmptyCheckersRunLeavesEveryOtherGuidelineUnexecuted) {
  checkersRun.clear();
  document.results = {finding("nullPointer", "r")};
  EXPECT_EQ(status("1.1", "nullPointer"), "<font color=\"red\">Not executed</font>");
  EXPECT_EQ(status("8.4", "misra-c2012-8.4,misra-config"), "<font color=\"red\">Not executed</font>");
  EXPECT_EQ(diagnostics.str(), "");
}

TEST_F(GuidelineStatusTest, IdsTakenFromTheInputsAreEscaped) {
  document.results = {finding("x<b>&y"), finding("x<b>&y", "fine")};
  suppressions = {"x<b>&y"};
  document.suppressions = {"solvane-x<b>&y"};
  EXPECT_EQ(status("Q", "nullPointer,x<b>&y"),
            "<font color=\"red\">Violations:<br>There are 1 'x&lt;b&gt;&amp;y' messages.</font>"
            "<br>\nAccepted Violations:<br>x&lt;b&gt;&amp;y"
            "<br>Suppressed:<br>x&lt;b&gt;&amp;y, solvane-x&lt;b&gt;&amp;y");
  EXPECT_EQ(suppressedIds["Q"], std::vector<std::string>{"solvane-x<b>&y"});
  EXPECT_EQ(diagnostics.str(), "");
}

TEST_F(GuidelineStatusTest, UnmappedIdIsReportedAndTheRowIsNotExecuted) {
  EXPECT_EQ(status("X", "misra-config"), "<font color=\"red\">Not executed</font>");
  EXPECT_EQ(diagnostics.str(), "Internal error: id misra-config missing mapping\n");
}

}  // namespace
}  // namespace guidegate
