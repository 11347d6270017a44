// --help, --version and reproducible dates, run through the built binary.
#include <gtest/gtest.h>

#include "e2e/e2e_support.h"

namespace e2e {
namespace {

const std::string kResults = resultsXml("<safety/>\n");

TEST(HelpAndVersion, HelpPrintsToStandardOutputAndSucceedsWhereverItStands) {
  Workspace workspace;
  workspace.write("results.xml", kResults);
  for (const auto& arguments :
       std::vector<std::vector<std::string>>{{"--help"}, {"--cert-c", "results.xml", "--help"}, {"--help", "--bogus"}}) {
    SCOPED_TRACE(arguments.size());
    const RunResult result = workspace.run(arguments);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out.rfind("Usage: " + kBinary + " [STANDARD] [OPTION]... RESULTS.xml\n", 0), 0u);
    for (const char* item : {"--cert-c, --cert-c-2016", "--cert-c++, --cert-c++-2016", "--misra-c-2012",
                             "--misra-c-2023", "--misra-c++-2008", "--misra-c++-2023", "--cwe-top25",
                             "--checkers-report=FILE", "--files=FILE", "--output-file=FILE", "--project-name=NAME",
                             "--project-version=VERSION", "--suppressions=ID[,ID...]", "--json-output=FILE",
                             "--markdown-summary=FILE", "--help", "--version", "Exit status:", "SOURCE_DATE_EPOCH"})
      EXPECT_NE(result.out.find(item), std::string::npos) << item;
  }
  EXPECT_EQ(workspace.files(), std::set<std::string>{"results.xml"});
}

TEST(HelpAndVersion, AnUnknownOptionBeforeThemStillEndsTheRun) {
  Workspace workspace;
  for (const char* flag : {"--help", "--version"}) {
    const RunResult result = workspace.run({"--files", flag});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Unknown option --files\n");
    EXPECT_EQ(result.out, "");
  }
}

TEST(HelpAndVersion, VersionIsOneLine) {
  Workspace workspace;
  for (const auto& arguments :
       std::vector<std::vector<std::string>>{{"--version"}, {"results.xml", "--version", "--help"}}) {
    const RunResult result = workspace.run(arguments);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(std::regex_match(result.out, std::regex("guidegate [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << result.out;
  }
  EXPECT_TRUE(workspace.files().empty());
}

TEST(HelpAndVersion, UsageWithoutArgumentsIsUnchanged) {
  Workspace workspace;
  const RunResult result = workspace.run({});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Syntax: " + kBinary +
                            " [--cert-c] [--cert-c++] [--cwe-top25] [--misra-c-2012] [--misra-c-2023]"
                            " [--misra-c++-2008] [--misra-c++-2023] [--files=X] [--output-file=X]"
                            " [--project-name=X] [--project-version=X] <report.xml>\n");
}

TEST(SourceDateEpoch, GivesTheDateOfThatMomentAndByteIdenticalReports) {
  Workspace workspace;
  workspace.write("results.xml", kResults);
  const std::vector<std::pair<std::string, std::string>> epoch = {{"SOURCE_DATE_EPOCH", "1700000000"}};
  const RunResult first = workspace.run({"--cert-c", "--output-file=first.html", "results.xml"}, epoch);
  const RunResult second = workspace.run({"--cert-c", "--output-file=second.html", "results.xml"}, epoch);
  EXPECT_EQ(first.status, 1);
  EXPECT_EQ(second.status, 1);
  const std::string report = workspace.read("first.html");
  EXPECT_NE(report.find("Date: 14 November 2023<br>\n"), std::string::npos);
  EXPECT_EQ(report, workspace.read("second.html"));

  workspace.run({"--cert-c", "--output-file=epoch-zero.html", "results.xml"}, {{"SOURCE_DATE_EPOCH", "0"}});
  EXPECT_NE(workspace.read("epoch-zero.html").find("Date: 01 January 1970<br>\n"), std::string::npos);
}

TEST(SourceDateEpoch, InvalidValuesEndTheRunBeforeAnythingIsWritten) {
  Workspace workspace;
  workspace.write("results.xml", kResults);
  workspace.write("cert-c-compliance-report.html", "older report");
  for (const std::string value : {"", "-1", "+5", "1.5", "12abc", " 12", "0x10", "99999999999999999999999"}) {
    SCOPED_TRACE(value);
    const RunResult result = workspace.run({"--cert-c", "results.xml"}, {{"SOURCE_DATE_EPOCH", value}});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Invalid SOURCE_DATE_EPOCH:" + value + "\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(workspace.read("cert-c-compliance-report.html"), "older report");
  }
}

}  // namespace
}  // namespace e2e
