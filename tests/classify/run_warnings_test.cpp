// The warnings of a run: inputs read without fault that likely do not say what the
// user meant. Expectations follow the texts each warning is meant to say.
#include "classify/run_warnings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace guidegate {
namespace {

// The texts of a hand-made record are string literals, which outlive it.
ResultRecord finding(const char* id, const char* severity = "style", std::vector<const char*> files = {"a.c"}) {
  static LocationPool places;  // holds the locations for the whole test program
  std::vector<Location> locations;
  for (const char* file : files) locations.push_back({file});
  return ResultRecord{id, severity, "", places.keep(locations)};
}

ResultsDocument documentOf(std::vector<ResultRecord> findings) {
  ResultsDocument document;
  document.results = std::move(findings);
  return document;
}

std::optional<RunWarning> otherStandard(CodingStandard standard, std::vector<ResultRecord> findings) {
  const ResultsDocument document = documentOf(std::move(findings));
  const ResultsIndex index(document);
  return otherStandardWarning(standard, index);
}

std::optional<RunWarning> filesList(std::vector<ResultRecord> findings, const std::vector<std::string>& names) {
  const ResultsDocument document = documentOf(std::move(findings));
  const ResultsIndex index(document);
  std::vector<FileEntry> entries;
  for (const auto& name : names) entries.push_back({name, "d41d8cd98f00b204e9800998ecf8427e"});
  return filesListWarning(index, entries);
}

std::vector<ResultRecord> repeated(std::size_t times, const ResultRecord& record) {
  return std::vector<ResultRecord>(times, record);
}

// MISRA C 2012 results with the default MISRA C 2023: the usual case.
TEST(OtherStandardWarning, MisraC2012FindingsReportedAsMisraC2023) {
  std::vector<ResultRecord> findings = repeated(3, finding("misra-c2012-10.4"));
  findings.push_back(finding("misra-c2012-8.4"));
  findings.push_back(finding("solvane-misra-c2012-8.4"));
  findings.push_back(finding("solvane-misra-c-2012-8.4"));  // the add-on's other spelling
  findings.push_back(finding("misra-c2023-10.4"));           // counted by Rule 10.4
  findings.push_back(finding("nullPointer", "error"));       // counted by Rule 1.3, as every error
  findings.push_back(finding("noStandardMapsThis"));
  const auto warning = otherStandard(CodingStandard::MisraC2023, findings);
  ASSERT_TRUE(warning);
  EXPECT_EQ(*warning, (RunWarning{"ids-of-another-standard", 6, "misra-c2012-10.4",
                                  "6 findings have ids that Misra C 2023 does not map but another standard does, "
                                  "for example misra-c2012-10.4: --misra-c-2012 would count 6 of them"}));
}

// Outside MISRA C an error or warning that no guideline maps is already an Unmapped
// row: only the findings of other severities go uncounted.
TEST(OtherStandardWarning, OutsideMisraCErrorsAndWarningsCountAsUnmapped) {
  const auto warning = otherStandard(CodingStandard::CertC, {finding("misra-c2012-10.4", "error"),
                                                              finding("misra-c2012-10.4", "warning"),
                                                              finding("misra-c2012-8.4", "style")});
  ASSERT_TRUE(warning);
  EXPECT_EQ(warning->count, 1u);
  EXPECT_EQ(warning->text,
            "1 finding has an id that Cert C 2016 does not map but another standard does, for example "
            "misra-c2012-8.4: --misra-c-2012 would count it");
  EXPECT_FALSE(otherStandard(CodingStandard::CertC, {finding("misra-c2012-10.4", "error")}));
}

TEST(OtherStandardWarning, NamesTheStandardThatMapsMostOfThemAndItsFirstId) {
  const auto warning = otherStandard(CodingStandard::MisraCpp2008,
                                     {finding("misra-c2023-8.4"), finding("misra-c2012-8.4"), finding("misra-c2012-10.4")});
  ASSERT_TRUE(warning);
  EXPECT_EQ(warning->count, 3u);
  EXPECT_EQ(warning->example, "misra-c2012-8.4");
  EXPECT_EQ(warning->text,
            "3 findings have ids that Misra C++ 2008 does not map but another standard does, for example "
            "misra-c2012-8.4: --misra-c-2012 would count 2 of them");
  // Equal counts: the first standard of the list, CERT C before CERT C++ and CWE.
  const auto tie = otherStandard(CodingStandard::MisraC2012, {finding("nullPointer", "style")});
  ASSERT_TRUE(tie);
  EXPECT_EQ(tie->text,
            "1 finding has an id that Misra C 2012 does not map but another standard does, for example nullPointer: "
            "--cert-c would count it");
}

TEST(OtherStandardWarning, NothingWhenEveryFindingCountsOrNoStandardMapsIt) {
  EXPECT_FALSE(otherStandard(CodingStandard::MisraC2023, {}));
  EXPECT_FALSE(otherStandard(CodingStandard::MisraC2023, {finding("misra-c2023-8.4"), finding("missingInclude")}));
  EXPECT_FALSE(otherStandard(CodingStandard::MisraC2012, {finding("misra-c2012-8.4"), finding("syntaxError", "error")}));
  EXPECT_FALSE(otherStandard(CodingStandard::CertC, {finding("nullPointer"), finding("solvane-nullPointer")}));
}

// md5sum -b writes "HASH *NAME"; the Files table keeps the "*" in the name.
TEST(FilesListWarning, ListWrittenByMd5sumBinaryMode) {
  std::vector<ResultRecord> findings = repeated(8, finding("nullPointer", "error", {"gtest-death-test.cc"}));
  const auto warning = filesList(findings, {"*gtest-all.cc", "*gtest-death-test.cc", "*gtest.cc"});
  ASSERT_TRUE(warning);
  EXPECT_EQ(*warning, (RunWarning{"files-without-findings", 3, "*gtest-death-test.cc",
                                  "3 files of the files list are named by no finding while findings name other "
                                  "files, for example *gtest-death-test.cc: md5sum -b writes HASH *NAME and the "
                                  "list keeps the * in the name, while findings name gtest-death-test.cc"}));
}

TEST(FilesListWarning, PathsThatDifferByAPrefix) {
  const auto warning = filesList({finding("nullPointer", "error", {"/home/ci/src/b.c", "/home/ci/src/a.c"})},
                                 {"src/b.c", "src/a.c", "src/b.c", "*"});
  ASSERT_TRUE(warning);
  EXPECT_EQ(*warning, (RunWarning{"files-without-findings", 3, "src/b.c",
                                  "3 files of the files list are named by no finding while findings name other "
                                  "files, for example src/b.c: do the files list and the results name the files "
                                  "by the same paths?"}));
}

TEST(FilesListWarning, OneListedFileWithoutFindings) {
  const auto warning = filesList({finding("x", "style", {"a.c", "lib/b.h"})}, {"a.c", "c.c"});
  ASSERT_TRUE(warning);
  EXPECT_EQ(warning->count, 1u);
  EXPECT_EQ(warning->text,
            "1 file of the files list is named by no finding while findings name other files, for example c.c: do "
            "the files list and the results name the files by the same paths?");
}

TEST(FilesListWarning, NothingWhenFindingsNameOnlyListedFilesOrEveryListedFile) {
  // Clean files are no sign of a mismatch while every finding's file is listed.
  EXPECT_FALSE(filesList({finding("x", "error", {"a.c"})}, {"a.c", "b.c", "c.c"}));
  EXPECT_FALSE(filesList({finding("x", "error", {"a.c", "other.h"})}, {"a.c"}));
  EXPECT_FALSE(filesList({finding("x", "error", {})}, {"a.c"}));
  EXPECT_FALSE(filesList({}, {"*a.c"}));
  EXPECT_FALSE(filesList({finding("x", "error", {"a.c"})}, {}));
}

TEST(SuppressionsWarning, IdsThatNoGuidelineMaps) {
  SuppressionSet misra;
  addSuppressions(misra, "misra-config,misra-c2023-10.4,solvane-misra-c2023-8.4,nullPointr");
  EXPECT_EQ(suppressionsWarning(CodingStandard::MisraC2023, misra),
            (RunWarning{"unknown-suppressions", 1, "nullPointr",
                        "1 --suppressions= id is mapped by no guideline of Misra C 2023, for example nullPointr: it "
                        "suppresses nothing"}));
  SuppressionSet cert;
  addSuppressions(cert, "zz,nullPointer,solvane-nullPointer,misra-config,aa");
  EXPECT_EQ(suppressionsWarning(CodingStandard::CertC, cert),
            (RunWarning{"unknown-suppressions", 3, "aa",
                        "3 --suppressions= ids are mapped by no guideline of Cert C 2016, for example aa: they "
                        "suppress nothing"}));
  // A guideline that stands for every finding is judged by severity and cannot be suppressed.
  SuppressionSet error;
  addSuppressions(error, "error");
  EXPECT_TRUE(suppressionsWarning(CodingStandard::MisraC2012, error));
  EXPECT_FALSE(suppressionsWarning(CodingStandard::CertC, {}));
  SuppressionSet mapped;
  addSuppressions(mapped, "nullPointer,solvane-uninitvar");
  EXPECT_FALSE(suppressionsWarning(CodingStandard::CertC, mapped));
}

TEST(ResultsShapeWarnings, RootNotResultsAndNoErrorsElement) {
  EXPECT_TRUE(resultsShapeWarnings(ResultsDocument{}).empty());
  ResultsDocument other;
  other.rootName = "report";
  other.hasErrorsElement = false;
  EXPECT_EQ(resultsShapeWarnings(other),
            (std::vector<RunWarning>{
                {"root-not-results", 1, "report",
                 "the root element of the results file is report, not results (1 element): the file may not be "
                 "Tarnwick's XML results"},
                {"no-errors-element", 0, "report",
                 "the results file has 0 errors elements under its root element report, so no finding was read: "
                 "Tarnwick's XML results keep their findings in an errors element"}}));
}

TEST(RunWarnings, InTheOrderOfTheirKinds) {
  ResultsDocument document = documentOf({finding("misra-c2012-8.4", "style", {"/abs/a.c"})});
  document.rootName = "x";
  const ResultsIndex index(document);
  SuppressionSet suppressions;
  addSuppressions(suppressions, "typo");
  std::vector<std::string> codes;
  for (const auto& warning : runWarnings(CodingStandard::MisraC2023, index,
                                         std::vector<FileEntry>{{"a.c", "0"}}, suppressions))
    codes.push_back(warning.code);
  EXPECT_EQ(codes, (std::vector<std::string>{"root-not-results", "ids-of-another-standard", "files-without-findings",
                                             "unknown-suppressions"}));
  EXPECT_TRUE(runWarnings(CodingStandard::MisraC2023, index, std::nullopt, {}).size() == 2);
}

}  // namespace
}  // namespace guidegate
