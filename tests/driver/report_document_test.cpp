#include "html/report_document.h"

#include "classify/evaluation.h"
#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace guidegate {
namespace {

const std::string blue = "#2980b9";
const std::string red = "#ea6153";

// The style sheet in the colour of a verdict; the golden report cases hold its text.
std::string sheet(const std::string& colour) {
  std::string text = styleSheet(true);
  return text.replace(text.find(blue), blue.size(), colour);
}

const std::string date = "07 December 2026";
const std::string compliantLine = "Result: <font color=\"green\">Compliant</font><br>\n";
const std::string nonCompliantLine = "Result: <font color=\"red\">Non compliant</font><br>\n";

std::string note(const std::string& text) { return "Configuration: <font color=\"red\">" + text + "</font><br>\n"; }

// Options of a run that triggers no configuration note with a default document.
RunOptions cleanOptions(CodingStandard standard = CodingStandard::CertC) {
  RunOptions options;
  options.standard = standard;
  options.checkersReport = "checkers.txt";
  options.projectName = "Demo";
  options.projectVersion = "1.0";
  return options;
}

// What the body of a report decided, set by hand: the head shows it.
struct BodyState {
  bool compliant = true;
  AcceptedViolations acceptedViolations;
  SuppressedIds suppressedIds;
};

// The evaluation of a run of `options` on `document` whose guidelines decided `state`.
ComplianceEvaluation evaluationOf(const RunOptions& options, const ResultsDocument& document,
                                  const BodyState& state = {}) {
  ComplianceEvaluation evaluation = evaluateRun({.standard = options.standard,
                                                 .document = document,
                                                 .checkersReport = {},
                                                 .checkersReportGiven = options.checkersReport.has_value(),
                                                 .files = std::nullopt,
                                                 .suppressions = options.suppressions,
                                                 .projectName = options.projectName,
                                                 .projectVersion = options.projectVersion,
                                                 .date = 1796652180});  // 2026-12-07T14:03:00Z
  // The body's own reasons (its guidelines, misra-config for MISRA C) are what `state` sets.
  std::erase_if(evaluation.reasons, [](const VerdictReason& reason) {
    return reason.kind == VerdictReason::Kind::Guideline || reason.kind == VerdictReason::Kind::MisraConfig;
  });
  if (!state.compliant) evaluation.reasons.push_back({VerdictReason::Kind::Guideline, "EXP34"});
  evaluation.acceptedViolations = state.acceptedViolations;
  evaluation.suppressedIds = state.suppressedIds;
  return evaluation;
}

struct Head {
  std::string text;
  bool compliant;
};

Head head(const RunOptions& options, const ResultsDocument& document, const BodyState& state = {}) {
  const ComplianceEvaluation evaluation = evaluationOf(options, document, state);
  return {reportHead(evaluation), evaluation.compliant()};
}

// The head text from its start through the date line.
std::string opening(const std::string& colour, const std::string& title = "Cert C",
                    const std::string& guidelines = "Cert C 2016") {
  return "<html><head><meta charset=\"utf-8\"><title>" + title + " Compliance Report</title><style>" + sheet(colour) +
         "</style></head><body><h1>" + title + " Compliance Report</h1>\nProject: <b>Demo</b><br>\n"
         "Project version: <b>1.0</b><br>\nGuidelines: " + guidelines + "<br>\nChecking tool: Tarnwick<br>\n"
         "Date: " + date + "<br>\n";
}

// The texts of hand-made records, held for the whole test program.
std::string_view kept(std::string_view text) {
  static TextPool texts;
  return texts.intern(text);
}

ResultRecord record(const std::string& id, const std::string& remark = "") {
  return {kept(id), "error", kept(remark), {}};
}

TEST(StyleSheet, OnlyTheHeaderColourFollowsTheVerdict) {
  EXPECT_EQ(styleSheet(true).size(), 394u);
  EXPECT_NE(styleSheet(true).find("background-color: " + blue + ";"), std::string::npos);
  EXPECT_EQ(styleSheet(false), sheet(red));
}

TEST(ReportDate, DayInUtc) {
  EXPECT_EQ(reportDate(0), "01 January 1970");
  EXPECT_EQ(reportDate(951782400), "29 February 2000");
}

TEST(ReportHead, CleanRunWholeText) {
  const Head result = head(cleanOptions(), ResultsDocument{});
  EXPECT_EQ(result.text, opening(blue) + compliantLine);
  EXPECT_TRUE(result.compliant);
}

TEST(ReportHead, MisraCTitleAndEditionName) {
  EXPECT_EQ(head(cleanOptions(CodingStandard::MisraC2012), ResultsDocument{}).text,
            opening(blue, "Misra C", "Misra C 2012") + compliantLine);
}

TEST(ReportHead, ProjectLines) {
  RunOptions absent = cleanOptions();
  absent.projectName.reset();
  absent.projectVersion.reset();
  const Head missing = head(absent, ResultsDocument{});
  EXPECT_EQ(missing.text.find("Project"), std::string::npos);
  EXPECT_TRUE(missing.compliant);

  RunOptions empty = cleanOptions();
  empty.projectName = "";
  empty.projectVersion = "";
  const Head blank = head(empty, ResultsDocument{});
  EXPECT_NE(blank.text.find("</h1>\nProject: <b></b><br>\nProject version: <b></b><br>\nGuidelines: "),
            std::string::npos);

  RunOptions hostile = cleanOptions();
  hostile.projectName = "A&B<i>";
  hostile.projectVersion = "\"1'";
  ResultsDocument tool;
  tool.checkingTool = "Tarnwick <2.14>";
  const std::string text = head(hostile, tool).text;
  EXPECT_NE(text.find("Project: <b>A&amp;B&lt;i&gt;</b><br>\nProject version: <b>&quot;1&#39;</b><br>\n"),
            std::string::npos);
  EXPECT_NE(text.find("Checking tool: Tarnwick &lt;2.14&gt;<br>\n"), std::string::npos);
}

TEST(ReportHead, EachConfigurationNoteOnlyUnderItsCondition) {
  const std::string xmlNote = note("Use Tarnwick option --xml-version=3");
  const std::string inlineNote = note("Tarnwick option --inline-suppr has been used");
  const std::string safetyNote = note("Safety has been turned off");
  const std::string misraNote = note("misra-config has been suppressed");

  RunOptions noCheckers = cleanOptions();
  noCheckers.checkersReport.reset();
  ResultsDocument version3;
  version3.xmlVersion = 3;
  version3.safety = true;
  EXPECT_EQ(head(noCheckers, ResultsDocument{}).text, opening(blue) + xmlNote + nonCompliantLine);
  EXPECT_EQ(head(noCheckers, version3).text, opening(blue) + compliantLine);

  ResultsDocument inlineSuppr;
  inlineSuppr.inlineSuppr = true;
  EXPECT_EQ(head(cleanOptions(), inlineSuppr).text, opening(blue) + inlineNote + nonCompliantLine);

  ResultsDocument unsafe;
  unsafe.xmlVersion = 3;
  EXPECT_EQ(head(cleanOptions(), unsafe).text, opening(blue) + safetyNote + nonCompliantLine);
  EXPECT_TRUE(head(cleanOptions(), ResultsDocument{}).compliant);  // version 2 without safety

  RunOptions misra = cleanOptions(CodingStandard::MisraC2023);
  misra.suppressions = {"misra-config"};
  const Head misraHead = head(misra, ResultsDocument{});
  EXPECT_EQ(misraHead.text, opening(blue, "Misra C", "Misra C 2023") + misraNote + nonCompliantLine);
  EXPECT_FALSE(misraHead.compliant);
  for (auto standard : {CodingStandard::CertC, CodingStandard::MisraCpp2008, CodingStandard::CweTop25}) {
    RunOptions other = cleanOptions(standard);
    other.suppressions = {"misra-config"};
    EXPECT_TRUE(head(other, ResultsDocument{}).compliant);
  }

  ResultsDocument all;
  all.inlineSuppr = true;
  all.xmlVersion = 3;
  all.suppressions = {"misra-config"};
  RunOptions allOptions = cleanOptions(CodingStandard::MisraC2012);
  allOptions.checkersReport.reset();
  EXPECT_EQ(head(allOptions, all).text,
            opening(blue, "Misra C", "Misra C 2012") + inlineNote + safetyNote + misraNote + nonCompliantLine);
}

TEST(ReportHead, FatalErrorsTurnTheHeaderRed) {
  ResultsDocument document;
  document.results = {record("internalError"), record("syntaxError"), record("internalError"), record("nullPointer")};
  const Head result = head(cleanOptions(), document);
  EXPECT_EQ(result.text, opening(red) + nonCompliantLine +
                             "<br>There was fatal errors (internalError, syntaxError) during analysis. All source "
                             "files have not been fully analysed.<br>\n");
  EXPECT_FALSE(result.compliant);
}

TEST(ReportHead, NonCompliantBodyHasRedHeader) {
  BodyState state;
  state.compliant = false;
  state.acceptedViolations["EXP34"] = {record("nullPointer", "checked")};
  state.suppressedIds["EXP34"] = {"nullPointer"};
  EXPECT_EQ(head(cleanOptions(), ResultsDocument{}, state).text, opening(red) + nonCompliantLine);
}

TEST(ReportHead, ResultSuffixNamesTheExceptions) {
  const std::string suppressions = "<a href=\"#suppressions\">suppressions</a>";
  const std::string accepted = "<a href=\"#accepted-violations\">accepted violations</a>";
  auto line = [](const std::string& suffix) {
    return "Result: <font color=\"green\">Compliant with respect to " + suffix + "</font><br>\n";
  };
  BodyState suppressedOnly;
  suppressedOnly.suppressedIds["EXP34"] = {"nullPointer"};
  EXPECT_EQ(head(cleanOptions(), ResultsDocument{}, suppressedOnly).text, opening(blue) + line(suppressions));

  BodyState acceptedOnly;
  acceptedOnly.acceptedViolations["EXP34"] = {record("nullPointer", "checked")};
  EXPECT_EQ(head(cleanOptions(), ResultsDocument{}, acceptedOnly).text, opening(blue) + line(accepted));

  BodyState both = acceptedOnly;
  both.suppressedIds = suppressedOnly.suppressedIds;
  EXPECT_EQ(head(cleanOptions(), ResultsDocument{}, both).text,
            opening(blue) + line(suppressions + " and " + accepted));

  ResultsDocument inlineSuppr;
  inlineSuppr.inlineSuppr = true;
  EXPECT_EQ(head(cleanOptions(), inlineSuppr, both).text,
            opening(blue) + note("Tarnwick option --inline-suppr has been used") + nonCompliantLine);
}

TEST(ExceptionTables, AcceptedViolationsRowsInGuidelineOrder) {
  EXPECT_EQ(acceptedViolationsTable({}), "");
  AcceptedViolations accepted;
  accepted["8.4"] = {record("misra-c2023-8.4", "first"), record("misra-c2023-8.4", "second")};
  accepted["10.1"] = {record("misra-c2023-10.1", "<script>alert(1)</script>")};
  EXPECT_EQ(acceptedViolationsTable(accepted),
            "<table>\n<thead><tr><th>Rule</th><th>Remark</th></tr></thead>\n<tbody>\n"
            "<tr><td>10.1</td><td>&lt;script&gt;alert(1)&lt;/script&gt;</td></tr>\n"
            "<tr><td>8.4</td><td>first</td></tr>\n"
            "<tr><td>8.4</td><td>second</td></tr>\n"
            "</tbody></table>\n");
}

TEST(ExceptionTables, SuppressionsRowsPerId) {
  EXPECT_EQ(suppressionsTable({}), "");
  SuppressedIds suppressed;
  suppressed["EXP34"] = {"nullPointer", "solvane-nullPointer"};
  suppressed["ARR36"] = {"comparePointers"};
  EXPECT_EQ(suppressionsTable(suppressed),
            "<table>\n<thead><tr><th>Rule</th><th>Id</th></tr></thead>\n<tbody>\n"
            "<tr><td>ARR36</td><td>comparePointers</td></tr>\n"
            "<tr><td>EXP34</td><td>nullPointer</td></tr>\n"
            "<tr><td>EXP34</td><td>solvane-nullPointer</td></tr>\n"
            "</tbody></table>\n");
}

TEST(ExceptionSections, HeadingsOnlyWhenThereIsSomethingToList) {
  const RunOptions options = cleanOptions();
  EXPECT_EQ(exceptionSections(evaluationOf(options, ResultsDocument{}, BodyState{})), "");

  BodyState state;
  state.acceptedViolations["8.4"] = {record("misra-c2023-8.4", "R")};
  state.suppressedIds["EXP34"] = {"nullPointer"};
  EXPECT_EQ(exceptionSections(evaluationOf(options, ResultsDocument{}, state)),
            "<br>\n<h2 id=\"accepted-violations\">Accepted Violations</h2>\n"
            "<table>\n<thead><tr><th>Rule</th><th>Remark</th></tr></thead>\n<tbody>\n"
            "<tr><td>8.4</td><td>R</td></tr>\n</tbody></table>\n<br>\n"
            "<br>\n<h2 id=\"suppressions\">Suppressions</h2></a>\n"
            "<table>\n<thead><tr><th>Rule</th><th>Id</th></tr></thead>\n<tbody>\n"
            "<tr><td>EXP34</td><td>nullPointer</td></tr>\n</tbody></table>\n<br>\n");
}

TEST(ExceptionSections, MisraConfigAloneGivesSuppressionsHeadingWithoutTable) {
  const std::string heading = "<br>\n<h2 id=\"suppressions\">Suppressions</h2></a>\n<br>\n";
  ResultsDocument inResults;
  inResults.suppressions = {"misra-config"};
  EXPECT_EQ(exceptionSections(evaluationOf(cleanOptions(CodingStandard::MisraC2023), inResults, BodyState{})), heading);
  RunOptions byOption = cleanOptions();  // any standard
  byOption.suppressions = {"misra-config"};
  EXPECT_EQ(exceptionSections(evaluationOf(byOption, ResultsDocument{}, BodyState{})), heading);
}

}  // namespace
}  // namespace guidegate
