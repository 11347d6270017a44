// The findings each guideline lists one by one, for the outputs that show findings.
#include "classify/guideline_findings.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "classify/evaluation.h"

namespace guidegate {
namespace {

// The texts of hand-made records, held for the whole test program.
std::string_view kept(std::string_view text) {
  static TextPool texts;
  return texts.intern(text);
}

ResultRecord at(const std::string& id, const std::string& severity, const std::string& file, int line,
                const std::string& remark = "") {
  static LocationPool places;
  const Location location{kept(file), line, 0};
  return ResultRecord{kept(id), kept(severity), kept(remark), places.keep({&location, 1})};
}

const GuidelineEvaluation& row(const ComplianceEvaluation& evaluation, const std::string& id) {
  for (const auto& judged : evaluation.guidelines)
    if (judged.guideline.id == id) return judged;
  throw std::runtime_error("no row " + id);
}

ComplianceEvaluation evaluate(CodingStandard standard, const ResultsDocument& document,
                              const SuppressionSet& suppressions = {}) {
  return evaluateRun({.standard = standard, .document = document, .suppressions = suppressions});
}

std::vector<std::uint32_t> positions(const GuidelineEvaluation& judged) {
  std::vector<std::uint32_t> list;
  for (const auto& finding : judged.findings) list.push_back(finding.position);
  return list;
}

TEST(FindingLevel, ErrorAndWarningAsTheyAreEverythingElseANote) {
  EXPECT_EQ(findingLevel("error"), FindingLevel::Error);
  EXPECT_EQ(findingLevel("warning"), FindingLevel::Warning);
  for (const char* other : {"style", "performance", "portability", "information", "Error", "", "error "})
    EXPECT_EQ(findingLevel(other), FindingLevel::Note) << other;
}

TEST(GuidelineFindings, CountedIdByIdThenAcceptedWithTheirLevels) {
  ResultsDocument document;
  document.results = {at("nullPointerRedundantCheck", "warning", "a.c", 1),           // 0
                      at("nullPointer", "error", "a.c", 2, "checked by the caller"),  // 1
                      at("nullPointer", "error", "b.c", 3),                           // 2
                      at("uninitvar", "error", "a.c", 4),                             // 3: another guideline
                      at("nullPointer", "style", "a.c", 5)};                          // 4
  const auto evaluation = evaluate(CodingStandard::CertC, document);
  const GuidelineEvaluation& exp34 = row(evaluation, "EXP34");
  // nullPointer comes before nullPointerRedundantCheck in the guideline's ids.
  EXPECT_EQ(positions(exp34), (std::vector<std::uint32_t>{2, 4, 0, 1}));
  EXPECT_EQ(exp34.findings[0].level, FindingLevel::Error);
  EXPECT_EQ(exp34.findings[1].level, FindingLevel::Note);
  EXPECT_EQ(exp34.findings[2].level, FindingLevel::Warning);
  EXPECT_FALSE(exp34.findings[0].accepted);
  EXPECT_TRUE(exp34.findings[3].accepted);
  EXPECT_EQ(exp34.name, "EXP34");
}

TEST(GuidelineFindings, OccurrenceCountsEarlierFindingsOfTheSameIdAndFirstFile) {
  ResultsDocument document;
  document.results = {at("nullPointer", "error", "a.c", 10),
                      at("nullPointer", "error", "b.c", 10),
                      at("nullPointer", "error", "a.c", 20),
                      at("nullPointerArithmetic", "error", "a.c", 30),
                      at("nullPointer", "error", "a.c", 40, "reviewed"),
                      ResultRecord{"nullPointer", "error", "", {}}};
  const auto evaluation = evaluate(CodingStandard::CertC, document);
  const auto& findings = row(evaluation, "EXP34").findings;
  std::vector<std::uint32_t> occurrences;
  for (const auto& finding : findings) occurrences.push_back(finding.occurrence);
  // a.c, b.c, a.c, no file | arithmetic in a.c | the accepted one in a.c, after two counted ones.
  EXPECT_EQ(occurrences, (std::vector<std::uint32_t>{0, 0, 1, 0, 0, 2}));
}

TEST(GuidelineFindings, SuppressedIdsAreMarkedAndStillCount) {
  ResultsDocument document;
  document.results = {at("nullPointer", "error", "a.c", 1), at("nullPointerArithmetic", "error", "a.c", 2)};
  document.suppressions = {"nullPointerArithmetic"};
  const auto evaluation = evaluate(CodingStandard::CertC, document, {"nullPointer"});
  const GuidelineEvaluation& exp34 = row(evaluation, "EXP34");
  ASSERT_EQ(exp34.findings.size(), 2u);
  EXPECT_TRUE(exp34.findings[0].idSuppressed);  // by --suppressions=
  EXPECT_TRUE(exp34.findings[1].idSuppressed);  // in the results file
  EXPECT_TRUE(exp34.verdict.violated());
}

TEST(GuidelineFindings, AGuidelineJudgedBySeverityListsEveryErrorAndWarningRemarkedOrNot) {
  ResultsDocument document;
  document.results = {at("a", "style", "a.c", 1), at("b", "warning", "a.c", 2), at("c", "error", "a.c", 3, "fine"),
                      at("d", "Error", "a.c", 4), at("e", "error", "a.c", 5)};
  const auto evaluation = evaluate(CodingStandard::MisraC2012, document);
  const GuidelineEvaluation& rule13 = row(evaluation, "1.3");
  EXPECT_EQ(positions(rule13), (std::vector<std::uint32_t>{1, 2, 4}));
  for (const auto& finding : rule13.findings) EXPECT_FALSE(finding.accepted);
  EXPECT_EQ(rule13.name, "Rule 1.3");
}

TEST(GuidelineNames, UniqueInEveryStandardAndCweNumbersNamedAsSuch) {
  for (const auto& info : codingStandards()) {
    const auto evaluation = evaluate(info.standard, ResultsDocument{});
    std::set<std::string> names;
    for (const auto& judged : evaluation.guidelines) EXPECT_TRUE(names.insert(judged.name).second) << judged.name;
  }
  const auto cwe = evaluate(CodingStandard::CweTop25, ResultsDocument{});
  EXPECT_EQ(row(cwe, "787").name, "CWE-787");
  EXPECT_EQ(row(cwe, "787").label, "787");
  const auto misra = evaluate(CodingStandard::MisraC2023, ResultsDocument{});
  EXPECT_EQ(row(misra, "Dir 4.3").name, "Dir 4.3");
}

TEST(StandardKeys, WithoutBlanksDotsOrPlusSigns) {
  EXPECT_EQ(standardKey(CodingStandard::CertC), "cert-c");
  EXPECT_EQ(standardKey(CodingStandard::CertCpp), "cert-cpp");
  EXPECT_EQ(standardKey(CodingStandard::MisraC2012), "misra-c-2012");
  EXPECT_EQ(standardKey(CodingStandard::MisraC2023), "misra-c-2023");
  EXPECT_EQ(standardKey(CodingStandard::MisraCpp2008), "misra-cpp-2008");
  EXPECT_EQ(standardKey(CodingStandard::MisraCpp2023), "misra-cpp-2023");
  EXPECT_EQ(standardKey(CodingStandard::CweTop25), "cwe-top25");
}

}  // namespace
}  // namespace guidegate
