// The JSON and Markdown exports change nothing else: with or without them the same analysis
// gives the same report bytes, streams and exit status. (What each output holds is pinned by
// the golden cases export-* of tests/e2e/cases.)
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"

namespace e2e {
namespace {

const std::vector<std::pair<std::string, std::string>> kEpoch = {{"SOURCE_DATE_EPOCH", "1700000000"}};

std::string results(const std::string& errors) {
  return "<?xml version=\"1.0\"?>\n<results version=\"3\"><tarnwick version=\"2.14\"/><errors>" + errors +
         "</errors><safety/></results>\n";
}

TEST(Exports, LeaveTheReportItsBytesAndTheRunItsExitStatus) {
  const std::string findings =
      "<error id=\"nullPointer\" severity=\"error\"><location file=\"src/main.c\" line=\"4\"/></error>"
      "<error id=\"misra-c2012-8.4\" severity=\"style\" remark=\"kept &lt;on purpose&gt;\">"
      "<location file=\"src/main.c\" line=\"9\"/></error>";
  struct Case {
    std::string flag, report, errors;
  };
  const std::vector<Case> cases = {
      {"--cwe-top25", "cwe-top25-compliance-report.html", ""},
      {"--cwe-top25", "cwe-top25-compliance-report.html", findings},
      {"--misra-c-2012", "misra-c-2012-compliance-report.html", findings},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flag + " " + c.errors);
    Workspace scratch;
    scratch.write("checkers.txt",
                  "Yes  CheckBufferOverrun::bufferOverflow\nYes  CheckType::checkIntegerOverflow\n"
                  "Yes  CheckCondition::multiCondition\n");
    scratch.write("files.md5", "5d41402abc4b2a76b9719d911017c592  src/main.c\n");
    scratch.write("results.xml", results(c.errors));
    const std::vector<std::string> common = {c.flag, "--checkers-report=checkers.txt", "--files=files.md5",
                                             "--project-name=Demo", "--project-version=1.0"};
    std::vector<std::string> plain = common, exporting = common;
    plain.push_back("results.xml");
    exporting.insert(exporting.end(), {"--json-output=out.json", "--markdown-summary=out.md", "results.xml"});

    const RunResult first = scratch.run(plain, kEpoch);
    const std::string html = scratch.read(c.report);
    const RunResult second = scratch.run(exporting, kEpoch);
    EXPECT_EQ(second.status, first.status);
    EXPECT_EQ(second.out, first.out);
    EXPECT_EQ(second.err, first.err);
    EXPECT_EQ(scratch.read(c.report), html);
    EXPECT_EQ(scratch.files(),
              (std::set<std::string>{"checkers.txt", "files.md5", "results.xml", c.report, "out.json", "out.md"}));
  }
}

}  // namespace
}  // namespace e2e
