#include "html/report_body.h"

#include <gtest/gtest.h>

#include <string>

namespace guidegate {
namespace {

const std::string violationsHead =
    "<h2>Violations</h2><table>\n<thead><tr><th>Guideline</th><th>Text</th>"
    "<th width=\"300px\">Compliance</th></tr></thead>\n<tbody>\n";

const std::string unmappedHead =
    "<h2>Unmapped</h2>Errors/warnings that have not been mapped to a guideline.<br><table>\n"
    "<thead><tr><th>Severity</th><th>Id</th><th width=\"300px\">Number of reports</th></tr></thead>\n<tbody>\n";

// An evaluation of two compliant rows, as the body writers receive it.
ComplianceEvaluation twoRows() {
  ComplianceEvaluation evaluation;
  evaluation.standard = CodingStandard::CertC;
  evaluation.guidelines = {{{"R1", "Null pointers", "nullPointer"}, "R1", "", {}, {}},
                           {{"CWE-401", "", "memleak"}, "CWE-401", "", {}, {}}};
  return evaluation;
}

const std::string twoRowsTable = violationsHead +
                                 "<tr><td>R1</td><td>Null pointers</td><td>Compliant</td></tr>\n"
                                 "<tr><td>CWE-401</td><td></td><td>Compliant</td></tr>\n"
                                 "</tbody></table>\n";

TEST(ReportBody, NoUnmappedAndNoFilesGivesOnlyTheViolationsTable) {
  EXPECT_EQ(buildReportBody(twoRows()), twoRowsTable);
}

TEST(ReportBody, SectionsInOrderUnmappedFilesViolations) {
  ComplianceEvaluation evaluation = twoRows();
  evaluation.unmapped = {{"error", "uninitvar", 1}, {"warning", "<x>&\"", 2}};
  evaluation.files = std::vector<FileRow>{{"a.c", "abc", 1, 0, {}}};
  EXPECT_EQ(buildReportBody(evaluation),
            unmappedHead +
                "<tr><td>error</td><td>uninitvar</td><td>1</td></tr>\n"
                "<tr><td>warning</td><td>&lt;x&gt;&amp;&quot;</td><td>2</td></tr>\n</tbody></table>\n"
                "<h2>Files</h2><table>\n<thead><tr><th>Filename</th><th>md5sum</th>"
                "<th width=\"300px\">Compliance</th></tr></thead>\n<tbody>\n"
                "<tr><td>a.c</td><td>abc</td><td>There are 1 errors.<br></td></tr></tbody></table>\n" +
                twoRowsTable);
}

TEST(ReportBody, HeadlineIsAnHtmlFragmentShownAsStored) {
  ComplianceEvaluation evaluation = twoRows();
  evaluation.guidelines[0].guideline.text = "Use &lt;stdio.h&gt; &amp; more";
  EXPECT_NE(buildReportBody(evaluation).find("<td>Use &lt;stdio.h&gt; &amp; more</td>"), std::string::npos);
}

TEST(MisraCReportBody, LabelAndCategoryCellsWithoutUnmappedSection) {
  ComplianceEvaluation evaluation;
  evaluation.standard = CodingStandard::MisraC2012;
  evaluation.unmapped = {{"error", "uninitvar", 1}};  // never shown for MISRA C
  evaluation.guidelines = {{{"Dir 1.1", "", ""}, "Dir 1.1", "Required", {}, {}},
                           {{"10.4", "", "misra-c2012-10.4"}, "Rule 10.4", "Required", {}, {}}};
  evaluation.guidelines[0].verdict.execution = Execution::NotImplemented;
  EXPECT_EQ(buildMisraCReportBody(evaluation),
            "<h2>Violations</h2><table>\n<thead><tr><th>Guideline</th><th>Category</th>"
            "<th width=\"300px\">Compliance</th></tr></thead>\n<tbody>\n"
            "<tr><td>Dir 1.1</td><td>Required</td><td>Not implemented</td></tr>\n"
            "<tr><td>Rule 10.4</td><td>Required</td><td>Compliant</td></tr>\n"
            "</tbody></table>\n");
}

}  // namespace
}  // namespace guidegate
