// Inputs that cannot be read and reports that cannot be written end the run with one message.
#include "e2e/e2e_support.h"

namespace e2e {
namespace {

const std::string kOlderReport = "<html>older report</html>\n";
const std::string kMisraCReport = "misra-c-2023-compliance-report.html";

TEST(Faults, UnreadableResultsFileLeavesTheOlderReportUntouched) {
  struct Case {
    std::string name;
    const char* content;  // nullptr: the file does not exist
    std::string message;
  };
  const std::vector<Case> cases = {
      {"absent.xml", nullptr, "Failed to open file:absent.xml\n"},
      {"empty.xml", "", "Invalid XML data in file:empty.xml\n"},
      {"blank.xml", " \n\t\n", "Invalid XML data in file:blank.xml\n"},
      {"broken.xml", "<results><errors></results>\n", "Invalid XML data in file:broken.xml\n"},
      {"declaration.xml", "<?xml version=\"1.0\"?>\n", "Invalid file:declaration.xml\n"},
      {"comment.xml", "<!-- nothing analysed -->\n", "Invalid file:comment.xml\n"},
  };
  for (const auto& c : cases) {
    Workspace ws;
    ws.write(kMisraCReport, kOlderReport);
    if (c.content) ws.write(c.name, c.content);
    const std::set<std::string> before = ws.files();
    const RunResult run = ws.run({"--project-name=demo", c.name});
    EXPECT_EQ(run.status, 1) << c.name;
    EXPECT_EQ(run.err, c.message);
    EXPECT_EQ(run.out, "") << c.name;
    EXPECT_EQ(ws.files(), before) << c.name;
    EXPECT_EQ(ws.read(kMisraCReport), kOlderReport) << c.name;
  }
}

TEST(Faults, MissingCheckersReportEndsTheRunEvenWithValidResults) {
  Workspace ws;
  ws.write("results.xml", compliantCweResults());
  const RunResult run = ws.run({"--cwe-top25", "--checkers-report=absent.txt", "results.xml"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Configuration: --checkers-report file not found\n");
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ws.files(), std::set<std::string>{"results.xml"});
}

TEST(Faults, ReportInMissingDirectoryFailsEvenWhenCompliant) {
  Workspace ws;
  ws.write("results.xml", compliantCweResults());
  const std::vector<std::string> project = {"--cwe-top25", "--project-name=demo", "--project-version=1"};
  std::vector<std::string> arguments = project;
  arguments.insert(arguments.end(), {"--output-file=report.html", "results.xml"});
  EXPECT_EQ(ws.run(arguments).status, 0);  // the same analysis is compliant where the report can be written

  arguments = project;
  arguments.insert(arguments.end(), {"--output-file=no/such/dir/report.html", "results.xml"});
  const RunResult run = ws.run(arguments);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Failed to write file:no/such/dir/report.html\n");
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ws.files(), (std::set<std::string>{"report.html", "results.xml"}));
}

TEST(Faults, UnopenableFilesListEndsTheRunWithoutReport) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--files=absent.md5", "Failed to open file:absent.md5\n"},
      {"--files=", "Failed to open file:\n"},
  };
  for (const auto& [option, message] : cases) {
    Workspace ws;
    ws.write("results.xml", compliantCweResults());
    const RunResult run = ws.run({"--cwe-top25", "--project-name=demo", "--project-version=1", option, "results.xml"});
    EXPECT_EQ(run.status, 1) << option;
    EXPECT_EQ(run.err, message);
    EXPECT_EQ(ws.files(), std::set<std::string>{"results.xml"}) << option;
  }
}

TEST(Faults, FilesListLinesWithoutNameAreSkipped) {
  Workspace ws;
  ws.write("results.xml", compliantCweResults());
  ws.write("files.md5", "   \nd41d8cd98f00b204e9800998ecf8427e  \t\nnoblank\n\nabcd  src/a.c\r\nef01\tb.c\n");
  const RunResult run = ws.run(
      {"--cwe-top25", "--project-name=demo", "--project-version=1", "--files=files.md5", "results.xml"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::string document = ws.read("cwe-top25-compliance-report.html");
  EXPECT_NE(document.find("<br>\n" +
                          filesSection("<tr><td>b.c</td><td>ef01</td><td></td></tr>"
                                       "<tr><td>src/a.c</td><td>abcd</td><td></td></tr>") +
                          "<h2>Violations</h2>"),
            std::string::npos);
}

}  // namespace
}  // namespace e2e
