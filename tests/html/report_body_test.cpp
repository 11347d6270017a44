#include "html/report_body.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace guidegate {
namespace {

// Two rows whose ids count as executed once any checker ran.
const GuidelineCatalogue catalogue = {{"R1", "Null pointers", "nullPointer"}, {"CWE-401", "", "memleak"}};

const std::string violations =
    "<h2>Violations</h2><table>\n<thead><tr><th>Guideline</th><th>Text</th>"
    "<th width=\"300px\">Compliance</th></tr></thead>\n<tbody>\n"
    "<tr><td>R1</td><td>Null pointers</td><td>Compliant</td></tr>\n"
    "<tr><td>CWE-401</td><td></td><td>Compliant</td></tr>\n"
    "</tbody></table>\n";

const std::string unmappedHead =
    "<h2>Unmapped</h2>Errors/warnings that have not been mapped to a guideline.<br><table>\n"
    "<thead><tr><th>Severity</th><th>Id</th><th width=\"300px\">Number of reports</th></tr></thead>\n<tbody>\n";

ResultRecord finding(std::string id, std::string severity, std::vector<std::string> files = {"a.c"}) {
  return {std::move(id), std::move(severity), "", std::move(files)};
}

struct Body {
  std::string text;
  BodyState state;
  std::string diagnostics;
};

Body build(const ResultsDocument& document, const std::optional<std::string>& filesList = std::nullopt) {
  const CheckersRun checkersRun = {{"CheckOther::checkSomething", true}};
  const std::string suppressionList;
  std::ostringstream diagnostics;
  Body body;
  body.state.compliant = false;  // the writer starts the verdict itself
  body.text = buildReportBody(catalogue, {}, {document, checkersRun, filesList, suppressionList, diagnostics},
                              body.state);
  body.diagnostics = diagnostics.str();
  return body;
}

std::string unmappedSection(const std::string& body) { return body.substr(0, body.find("<h2>Violations</h2>")); }

TEST(ReportBody, NoFindingsGivesOnlyTheViolationsTable) {
  const Body body = build(ResultsDocument{});
  EXPECT_EQ(body.text, violations);
  EXPECT_TRUE(body.state.compliant);
  EXPECT_EQ(body.diagnostics, "");
}

TEST(ReportBody, UnmappedErrorMakesTheReportNonCompliant) {
  ResultsDocument document;
  document.results = {finding("uninitvar", "error")};
  const Body body = build(document);
  EXPECT_EQ(body.text, unmappedHead + "<tr><td>error</td><td>uninitvar</td><td>1</td></tr>\n</tbody></table>\n" +
                           violations);
  EXPECT_FALSE(body.state.compliant);
}

TEST(ReportBody, UnmappedRowsErrorsFirstThenWarningsEachInByteOrder) {
  ResultsDocument document;
  document.results = {
      finding("zeta", "warning"),   finding("zeta", "error"),  finding("zeta", "warning"),
      finding("alpha", "error"),    finding("alpha", "error", {"a.c", "b.c", "c.c"}),
      finding("Bravo", "error"),    finding("Zulu", "warning"), finding("styleOnly", "style"),
      finding("portable", "portability"), finding("solvane-nullPointer", "error"), finding("memleak", "warning"),
  };
  EXPECT_EQ(unmappedSection(build(document).text),
            unmappedHead +
                "<tr><td>error</td><td>Bravo</td><td>1</td></tr>\n"
                "<tr><td>error</td><td>alpha</td><td>2</td></tr>\n"
                "<tr><td>error</td><td>zeta</td><td>1</td></tr>\n"
                "<tr><td>warning</td><td>Zulu</td><td>1</td></tr>\n"
                "<tr><td>warning</td><td>zeta</td><td>2</td></tr>\n"
                "</tbody></table>\n");
}

TEST(ReportBody, OnlyStyleFindingsLeaveNoUnmappedSection) {
  ResultsDocument document;
  document.results = {finding("styleOnly", "style"), finding("info", "information")};
  const Body body = build(document);
  EXPECT_EQ(body.text, violations);
  EXPECT_TRUE(body.state.compliant);
}

TEST(ReportBody, UnmappedIdIsEscaped) {
  ResultsDocument document;
  document.results = {finding("<x>&\"", "error")};
  EXPECT_EQ(unmappedSection(build(document).text),
            unmappedHead + "<tr><td>error</td><td>&lt;x&gt;&amp;&quot;</td><td>1</td></tr>\n</tbody></table>\n");
}

TEST(ReportBody, SectionsInOrderUnmappedFilesViolations) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("guidegate-report-body-" + std::to_string(getpid()) + ".md5");
  std::ofstream(path) << "abc  a.c\n";
  ResultsDocument document;
  document.results = {finding("uninitvar", "error")};
  const Body body = build(document, path.string());
  std::filesystem::remove(path);
  EXPECT_EQ(body.text,
            unmappedHead + "<tr><td>error</td><td>uninitvar</td><td>1</td></tr>\n</tbody></table>\n" +
                "<h2>Files</h2><table>\n<thead><tr><th>Filename</th><th>md5sum</th>"
                "<th width=\"300px\">Compliance</th></tr></thead>\n<tbody>\n"
                "<tr><td>a.c</td><td>abc</td><td>There are 1 errors.<br></td></tr></tbody></table>\n" +
                violations);
}

}  // namespace
}  // namespace guidegate
