#include <gtest/gtest.h>

#include <sstream>

#include "catalogues/tables.h"
#include "html/report_body.h"

namespace guidegate {
namespace {

const Location inA[] = {{"a.c"}};  // where the hand-made findings are

const std::string violationsHead =
    "<h2>Violations</h2><table>\n<thead><tr><th>Guideline</th><th>Category</th>"
    "<th width=\"300px\">Compliance</th></tr></thead>\n<tbody>\n";

// A checkers list in which every check of both editions ran.
CheckersRun everyCheckRan() {
  CheckersRun run;
  for (const auto& row : misraC2012Catalogue) run["Misra C 2012: " + row.id] = true;
  for (const auto& row : misraC2023Catalogue) run["Misra C 2023: " + row.id] = true;
  for (const auto& [id, label] : checkerNames) run[label] = true;
  return run;
}

struct Verdict {
  bool compliant;
};

struct Body {
  std::string text;
  Verdict state;  // what the body alone decides, before any configuration note
};

Body build(int edition, const ResultsDocument& document, const CheckersRun& checkersRun,
           const SuppressionSet& suppressions = {}) {
  const ComplianceEvaluation evaluation =
      evaluateRun({.standard = edition == 2012 ? CodingStandard::MisraC2012 : CodingStandard::MisraC2023,
                   .document = document,
                   .checkersReport = checkersRun,
                   .checkersReportGiven = true,
                   .files = std::nullopt,
                   .suppressions = suppressions,
                   .projectName = std::nullopt,
                   .projectVersion = std::nullopt,
                   .date = 0});
  return {buildMisraCReportBody(evaluation), {evaluation.compliantByFindings()}};
}

std::size_t rowCount(const std::string& body) {
  std::size_t count = 0;
  for (auto at = body.find("</tr>\n"); at != std::string::npos; at = body.find("</tr>\n", at + 1)) ++count;
  return count;
}

TEST(MisraCBody, RowsPerEdition) {
  const Body body2012 = build(2012, ResultsDocument{}, {});
  const Body body2023 = build(2023, ResultsDocument{}, {});
  EXPECT_EQ(rowCount(body2012.text), 216u);
  EXPECT_EQ(rowCount(body2023.text), 221u);
  for (const std::string dir : {"Dir 4.14", "Dir 4.15", "Dir 5.1", "Dir 5.2", "Dir 5.3"}) {
    EXPECT_EQ(body2012.text.find("<td>" + dir + "</td>"), std::string::npos) << dir;
    EXPECT_NE(body2023.text.find("<td>" + dir + "</td>"), std::string::npos) << dir;
  }
}

TEST(MisraCBody, FrameWithoutFilesList) {
  const std::string body = build(2023, ResultsDocument{}, {}).text;
  EXPECT_EQ(body.rfind(violationsHead + "<tr><td>Dir 1.1</td>", 0), 0u);
  EXPECT_TRUE(body.ends_with("</tr>\n</tbody></table>\n"));
}

TEST(MisraCBody, GuidelineAndCategoryCells) {
  const std::string body = build(2023, ResultsDocument{}, {}).text;
  for (const std::string cells : {"<tr><td>Rule 10.4</td><td>Required</td>", "<tr><td>Dir 4.10</td><td>Required</td>",
                                  "<tr><td>Rule 9.1</td><td>Mandatory</td>", "<tr><td>Dir 4.2</td><td>Advisory</td>",
                                  "<tr><td>Rule 8.4</td><td>Required</td>", "<tr><td>Rule 1.2</td><td>Advisory</td>",
                                  "<tr><td>Rule 22.20</td><td>Mandatory</td>"})
    EXPECT_NE(body.find(cells), std::string::npos) << cells;
  EXPECT_EQ(body.find("<td>Rule Dir"), std::string::npos);
}

TEST(MisraCBody, StatusCells) {
  const std::string body = build(2023, ResultsDocument{}, everyCheckRan()).text;
  EXPECT_NE(body.find("<tr><td>Rule 9.1</td><td>Mandatory</td><td>Compliant</td></tr>\n"), std::string::npos);
  EXPECT_NE(body.find("<tr><td>Dir 1.1</td><td>Required</td><td>Not implemented</td></tr>\n"), std::string::npos);
}

TEST(MisraCBody, VerdictStartsFromMisraConfig) {
  const CheckersRun ran = everyCheckRan();
  EXPECT_TRUE(build(2023, ResultsDocument{}, ran).state.compliant);
  EXPECT_TRUE(build(2012, ResultsDocument{}, ran).state.compliant);

  EXPECT_FALSE(build(2023, ResultsDocument{}, ran, {"misra-config"}).state.compliant);
  ResultsDocument suppressed;
  suppressed.suppressions = {"misra-config"};
  const Body bySuppression = build(2012, suppressed, ran);
  EXPECT_FALSE(bySuppression.state.compliant);
  EXPECT_NE(bySuppression.text.find("<tr><td>Rule 9.1</td><td>Mandatory</td><td>Compliant</td></tr>\n"),
            std::string::npos);
}

// An error no guideline maps gets no Unmapped section; it only counts where rule 1.3
// stands for every error.
TEST(MisraCBody, UnmappedErrorOnlyReachesRuleOneThree) {
  const CheckersRun ran = everyCheckRan();
  std::string expected = build(2023, ResultsDocument{}, ran).text;
  const std::string clean = "<tr><td>Rule 1.3</td><td>Required</td><td>Compliant</td></tr>";
  ASSERT_NE(expected.find(clean), std::string::npos);
  expected.replace(expected.find(clean), clean.size(),
                   "<tr><td>Rule 1.3</td><td>Required</td><td><font color=\"red\">Violations: There are 1 'error' "
                   "message(s).</font></td></tr>");

  ResultsDocument unmapped;
  unmapped.results = {{"noGuidelineMapsThis", "error", "", inA}};
  EXPECT_EQ(build(2023, unmapped, ran).text, expected);

  ResultsDocument unmappedStyle;
  unmappedStyle.results = {{"noGuidelineMapsThis", "style", "", inA}};
  EXPECT_TRUE(build(2023, unmappedStyle, ran).state.compliant);
}

}  // namespace
}  // namespace guidegate
