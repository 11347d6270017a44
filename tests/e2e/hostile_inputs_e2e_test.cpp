// Hostile inputs that a golden case of tests/e2e/cases cannot hold: files the run may not
// read (the run is then unprivileged), inputs of absurd nesting and size, generated here.
// Every case states the exact exit status and standard error, and checks that the run
// left no temporary file and either kept the older report or replaced it with a whole one.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/hostile_support.h"

namespace hostile {
namespace {

using namespace std::string_literals;

// A results file holding `children` under its root.
std::string resultsXml(const std::string& children, const std::string& version = "3") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<results version=\"" + version +
         "\">\n<tarnwick version=\"2.14\"/>\n" + children + "<safety/>\n</results>\n";
}

// Findings that make a CERT C report show every section: an accepted violation of
// EXP34 (which maps nullPointer), an unmapped error, and both located in src/a.c.
const std::string findings =
    "<errors>\n"
    "<error id=\"nullPointer\" severity=\"error\"><location file=\"src/a.c\" line=\"4\"/></error>\n"
    "<error id=\"unlistedId\" severity=\"error\"><location file=\"src/a.c\" line=\"9\"/></error>\n"
    "</errors>\n";

std::string repeated(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

const std::string invalidXml = "Invalid XML data in file:results.xml\n";

struct HostileCase {
  std::string name = {};
  std::vector<std::pair<std::string, std::string>> files = {};  // name and bytes, written before the run
  std::vector<std::string> arguments = {};                       // after the fixed project and output options
  int status = 1;
  std::string err = {};                       // the whole of standard error
  bool writesReport = false;                  // else the older report must stay as it was
  std::vector<std::string> unreadable = {};   // mode 000; the run is unprivileged
  std::vector<std::string> reportHolds = {};  // texts the new report contains
};

std::vector<HostileCase> unreadableCases() {
  const std::string results = resultsXml(findings);
  return {
      {.name = "unreadable results file",
       .files = {{"results.xml", results}},
       .arguments = {"results.xml"},
       .err = "Failed to open file:results.xml\n",
       .unreadable = {"results.xml"}},
      {.name = "unreadable checkers report",
       .files = {{"results.xml", results}, {"checkers.txt", "Yes  CheckOther::checkUnreachableCode\n"}},
       .arguments = {"--checkers-report=checkers.txt", "results.xml"},
       .err = "Configuration: --checkers-report file not found\n",
       .unreadable = {"checkers.txt"}},
      {.name = "unreadable files list",
       .files = {{"results.xml", results}, {"files.md5", "d41d8cd98f00b204e9800998ecf8427e  src/a.c\n"}},
       .arguments = {"--files=files.md5", "results.xml"},
       .err = "Failed to open file:files.md5\n",
       .unreadable = {"files.md5"}},
  };
}

std::vector<HostileCase> nestingCases() {
  return {
      {.name = "100,000 nested elements",
       .files = {{"results.xml", "<results version=\"3\">" + repeated("<errors>", 100000) +
                                     repeated("</errors>", 100000) + "</results>\n"}},
       .arguments = {"results.xml"},
       .err = invalidXml},
      {.name = "100,000 unclosed elements",
       .files = {{"results.xml", "<results version=\"3\"><errors>" + repeated("<error id=\"x\">", 100000)}},
       .arguments = {"results.xml"},
       .err = invalidXml},
  };
}

// Every path below `directory`, relative to it, with the bytes of the inputs.
std::map<std::string, std::string> tree(const fs::path& directory) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(directory)) {
    const std::string name = entry.path().lexically_relative(directory).string();
    if (!entry.is_regular_file())
      entries[name] = "(not a regular file)";
    else
      entries[name] = name == "report.html" ? "" : readFile(entry.path());
  }
  return entries;
}

void runCase(const HostileCase& hostileCase) {
  SCOPED_TRACE(hostileCase.name);
  Scratch scratch;
  for (const auto& [name, bytes] : hostileCase.files) {
    scratch.write(name, bytes);
    fs::permissions(scratch.path(name), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                            fs::perms::others_read);
  }
  for (const auto& name : hostileCase.unreadable) fs::permissions(scratch.path(name), fs::perms::none);
  scratch.write("report.html", olderReport);
  const auto before = tree(scratch.work());

  Launch launch;
  launch.arguments = {"--project-name=Demo", "--project-version=1.0", "--output-file=report.html"};
  launch.arguments.insert(launch.arguments.end(), hostileCase.arguments.begin(), hostileCase.arguments.end());
  launch.unprivileged = !hostileCase.unreadable.empty();
  const Outcome outcome = scratch.run(launch);
  if (launch.unprivileged && ::geteuid() == 0 && outcome.status >= 126)
    GTEST_SKIP() << "cannot run the binary as user " << nobody << " to make a file unreadable";

  EXPECT_EQ(outcome.status, hostileCase.status);
  EXPECT_EQ(outcome.err, hostileCase.err);
  EXPECT_EQ(outcome.out, "");
  // The inputs are as they were and nothing was added beside them: no temporary file
  // is left.
  EXPECT_EQ(tree(scratch.work()), before);

  const std::string report = scratch.read("report.html");
  if (!hostileCase.writesReport) {
    EXPECT_EQ(report, olderReport);
    return;
  }
  EXPECT_TRUE(isWholeReport(report)) << report.substr(0, 200);
  for (const auto& piece : hostileCase.reportHolds)
    EXPECT_NE(report.find(piece), std::string::npos) << "missing: " << piece;
}

TEST(HostileInputs, UnreadableFiles) {
  for (const auto& hostileCase : unreadableCases()) runCase(hostileCase);
}

TEST(HostileInputs, AbsurdNesting) {
  for (const auto& hostileCase : nestingCases()) runCase(hostileCase);
}

// A 50 MB remark reaches the Accepted Violations table whole, escaped once.
TEST(HostileInputs, FiftyMegabyteAttribute) {
  const std::string remark = "<&>\"'" + std::string(50u << 20, 'r');
  runCase({.name = "50 MB remark",
           .files = {{"results.xml", resultsXml("<errors>\n<error id=\"nullPointer\" severity=\"error\" remark=\""s +
                                                "&lt;&amp;&gt;&quot;&apos;" + remark.substr(5) +
                                                "\"/>\n</errors>\n")}},
           .arguments = {"--cert-c", "results.xml"},
           .writesReport = true,
           .reportHolds = {"<tr><td>EXP34</td><td>&lt;&amp;&gt;&quot;&#39;" + remark.substr(5) + "</td></tr>\n"}});
}

// Memory that runs out while an input is read ends the run with a message that says
// so, exit status 1, the older report kept and no export written. A sparse 1 GiB files
// list needs more memory than the run may take.
TEST(HostileInputs, MemoryRunningOutEndsTheRunCleanly) {
  Scratch scratch;
  scratch.write("results.xml", resultsXml(findings));
  scratch.write("report.html", olderReport);
  Launch launch{{"--project-name=Demo", "--project-version=1.0", "--output-file=report.html",
                 "--json-output=report.json", "results.xml"}};
  launch.addressSpaceLimit = rlim_t{256} << 20;
  if (scratch.run(launch).status != 1 || !fs::exists(scratch.path("report.json")))
    GTEST_SKIP() << "the binary does not run within 256 MiB of address space (a sanitizer build?)";
  fs::remove(scratch.path("report.json"));
  scratch.write("report.html", olderReport);
  scratch.write("files.md5", "");
  fs::resize_file(scratch.path("files.md5"), std::uintmax_t{1} << 30);
  launch.arguments.insert(launch.arguments.end() - 1, "--files=files.md5");
  const Outcome outcome = scratch.run(launch);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "Out of memory while reading file:files.md5\n");
  EXPECT_EQ(scratch.read("report.html"), olderReport);
  EXPECT_EQ(listing(scratch.work()), (std::set<std::string>{"files.md5", "report.html", "results.xml"}));
}

}  // namespace
}  // namespace hostile
