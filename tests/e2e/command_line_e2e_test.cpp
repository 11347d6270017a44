// The command line: usage, unknown options, the choice of standard and of the report file.
#include "e2e/e2e_support.h"

namespace e2e {
namespace {

std::string usage() {
  return "Syntax: " + kBinary +
         " [--cert-c] [--cert-c++] [--cwe-top25] [--misra-c-2012] [--misra-c-2023] [--misra-c++-2008]"
         " [--misra-c++-2023] [--files=X] [--output-file=X] [--project-name=X] [--project-version=X]"
         " <report.xml>\n";
}

TEST(CommandLine, WithoutAnyArgumentPrintsUsage) {
  Workspace ws;
  const RunResult run = ws.run({});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, usage());
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(ws.files().empty());
}

TEST(CommandLine, ArgumentsWithoutResultsFilePrintUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {"--cert-c"}, {"--project-name=x", "--output-file=r.html"}, {"--suppressions=a", "--files=list.md5"}};
  for (const auto& arguments : cases) {
    Workspace ws;
    const RunResult run = ws.run(arguments);
    EXPECT_EQ(run.status, 1) << arguments.front();
    EXPECT_EQ(run.err, usage()) << arguments.front();
    EXPECT_EQ(run.out, "") << arguments.front();
    EXPECT_TRUE(ws.files().empty()) << arguments.front();
  }
}

TEST(CommandLine, UnknownOptionStopsTheRunBeforeAnythingIsWritten) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"results.xml", "-x"}, "-x"},
      {{"-", "results.xml"}, "-"},
      {{"--files", "results.xml"}, "--files"},
      {{"--cert-cx", "results.xml"}, "--cert-cx"},
      {{"results.xml", "--Cert-C", "--output-file=r.html"}, "--Cert-C"},
  };
  for (const auto& [arguments, option] : cases) {
    Workspace ws;
    ws.write("results.xml", compliantCweResults());
    const RunResult run = ws.run(arguments);
    EXPECT_EQ(run.status, 1) << option;
    EXPECT_EQ(run.err, "Unknown option " + option + "\n");
    EXPECT_EQ(run.out, "") << option;
    EXPECT_EQ(ws.files(), std::set<std::string>{"results.xml"}) << option;
  }
}

TEST(CommandLine, StandardFlagsChooseTheReportAndItsDefaultName) {
  struct Case {
    std::vector<std::string> flags;
    std::string output, guidelines;
  };
  const std::vector<Case> cases = {
      {{}, "misra-c-2023-compliance-report.html", "Misra C 2023"},
      {{"--cert-c"}, "cert-c-compliance-report.html", "Cert C 2016"},
      {{"--cert-c-2016"}, "cert-c-compliance-report.html", "Cert C 2016"},
      {{"--cert-c++"}, "cert-cpp-compliance-report.html", "Cert C++ 2016"},
      {{"--cert-c++-2016"}, "cert-cpp-compliance-report.html", "Cert C++ 2016"},
      {{"--misra-c-2012"}, "misra-c-2012-compliance-report.html", "Misra C 2012"},
      {{"--misra-c-2023"}, "misra-c-2023-compliance-report.html", "Misra C 2023"},
      {{"--misra-c++-2008"}, "misra-cpp-2008-compliance-report.html", "Misra C++ 2008"},
      {{"--misra-c++-2023"}, "misra-cpp-2023-compliance-report.html", "Misra C++ 2023"},
      {{"--cwe-top25"}, "cwe-top25-compliance-report.html", "SANS CWE Top 25"},
      {{"--misra-c-2012", "--cert-c"}, "cert-c-compliance-report.html", "Cert C 2016"},
      {{"--cert-c", "--output-file=first.html", "--output-file=second.html"}, "second.html", "Cert C 2016"},
  };
  for (const auto& c : cases) {
    Workspace ws;
    ws.write("results.xml", resultsXml(""));
    std::vector<std::string> arguments = c.flags;
    arguments.push_back("results.xml");
    const RunResult run = ws.run(arguments);
    EXPECT_EQ(run.status, 1) << c.output;  // nothing was checked
    EXPECT_EQ(run.err, "") << c.output;
    ASSERT_EQ(ws.files(), (std::set<std::string>{"results.xml", c.output}));
    EXPECT_NE(ws.read(c.output).find("\nGuidelines: " + c.guidelines + "<br>\n"), std::string::npos) << c.output;
  }
}

TEST(CommandLine, LaterPositionalArgumentIsTheResultsFile) {
  Workspace ws;
  ws.write("results.xml", compliantCweResults());
  const RunResult run = ws.run({"--cwe-top25", "absent.xml", "results.xml"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, kProjectNotes);
  EXPECT_EQ(ws.files(), (std::set<std::string>{"results.xml", "cwe-top25-compliance-report.html"}));
}

}  // namespace
}  // namespace e2e
