// The JSON and Markdown exports as the built binary writes them beside the report.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"

namespace e2e {
namespace {

const std::vector<std::pair<std::string, std::string>> kEpoch = {{"SOURCE_DATE_EPOCH", "1700000000"}};

bool exists(const Workspace& workspace, const std::string& name) { return workspace.files().contains(name); }

// Every CWE Top 25 entry that can run does so with these three checks.
const std::string cweCheckers =
    "Yes  CheckBufferOverrun::bufferOverflow\nYes  CheckType::checkIntegerOverflow\n"
    "Yes  CheckCondition::multiCondition\n";

std::string results(const std::string& errors) {
  return "<?xml version=\"1.0\"?>\n<results version=\"3\"><tarnwick version=\"2.14\"/><errors>" + errors +
         "</errors><safety/></results>\n";
}

const std::string nullPointerInMain =
    "<error id=\"nullPointer\" severity=\"error\"><location file=\"src/main.c\" line=\"4\"/></error>"
    "<error id=\"misra-c2012-8.4\" severity=\"style\" remark=\"kept &lt;on purpose&gt;\">"
    "<location file=\"src/main.c\" line=\"9\"/></error>";

struct Case {
  std::string flag, report, errors;
  int status;
};

TEST(Exports, LeaveTheReportItsBytesAndTheRunItsExitStatus) {
  const std::vector<Case> cases = {
      {"--cwe-top25", "cwe-top25-compliance-report.html", "", 0},
      {"--cwe-top25", "cwe-top25-compliance-report.html", nullPointerInMain, 1},
      {"--misra-c-2012", "misra-c-2012-compliance-report.html", nullPointerInMain, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flag + " " + c.errors);
    Workspace scratch;
    scratch.write("checkers.txt", cweCheckers);
    scratch.write("files.md5", "5d41402abc4b2a76b9719d911017c592  src/main.c\n");
    scratch.write("results.xml", results(c.errors));
    const std::vector<std::string> common = {c.flag, "--checkers-report=checkers.txt", "--files=files.md5",
                                             "--project-name=Demo", "--project-version=1.0"};
    std::vector<std::string> plain = common, exporting = common;
    plain.push_back("results.xml");
    exporting.insert(exporting.end(), {"--json-output=out.json", "--markdown-summary=out.md", "results.xml"});

    const RunResult first = scratch.run(plain, kEpoch);
    const std::string html = scratch.read(c.report);
    EXPECT_FALSE(exists(scratch, "out.json"));
    const RunResult second = scratch.run(exporting, kEpoch);
    EXPECT_EQ(first.status, c.status);
    EXPECT_EQ(second.status, c.status);
    EXPECT_EQ(second.out, first.out);
    EXPECT_EQ(second.err, first.err);
    EXPECT_EQ(scratch.read(c.report), html);
    EXPECT_NE(html.find("Date: 14 November 2023<br>\n"), std::string::npos);
    const std::string json = scratch.read("out.json");
    EXPECT_NE(json.find("\"date\": \"2023-11-14T22:13:20Z\""), std::string::npos);
    EXPECT_NE(json.find(c.status == 0 ? "\"compliant\": true" : "\"compliant\": false"), std::string::npos);
    EXPECT_NE(scratch.read("out.md").find("2023-11-14T22:13:20Z"), std::string::npos);
  }
}

TEST(Exports, AnUnwritableExportFailsTheRunLikeTheReport) {
  for (const std::string option : {"--json-output=", "--markdown-summary="}) {
    Workspace scratch;
    scratch.write("checkers.txt", cweCheckers);
    scratch.write("results.xml", results(""));
    scratch.write("missing", "a file, not a folder");
    const RunResult outcome = scratch.run({"--cwe-top25", "--checkers-report=checkers.txt", "--project-name=Demo",
                                           "--project-version=1.0", option + "missing/out", "results.xml"},
                                          kEpoch);
    EXPECT_EQ(outcome.status, 1) << option;
    EXPECT_EQ(outcome.err, "Failed to write file:missing/out\n") << option;
    EXPECT_EQ(outcome.out, "");
  }
  Workspace scratch;  // a run that fails before judging writes no export
  const RunResult outcome = scratch.run({"--json-output=out.json", "--markdown-summary=out.md", "absent.xml"}, kEpoch);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_FALSE(exists(scratch, "out.json"));
  EXPECT_FALSE(exists(scratch, "out.md"));
}

}  // namespace
}  // namespace e2e
