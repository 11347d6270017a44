// Inputs as an untrusted source tree may leave them: cut short, binary, with NUL
// bytes, bad UTF-8, a byte-order mark, CRLF line ends, absurd nesting and sizes,
// directories and unreadable files where files belong. Every case states the
// exact exit status and standard error, and checks that the run left no temporary
// file and either kept the older report or replaced it with a whole one.
#include <gtest/gtest.h>

#include <algorithm>
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

// A clean SANS CWE Top 25 analysis in which every implemented row's check ran.
const std::string compliantCweChildren =
    "<checkers-report>\n<checker id=\"CheckBufferOverrun::bufferOverflow\"/>\n"
    "<checker id=\"CheckCondition::multiCondition\"/>\n<checker id=\"CheckType::checkIntegerOverflow\"/>\n"
    "</checkers-report>\n";

std::string withCrlf(const std::string& text) {
  std::string converted;
  for (char c : text) {
    if (c == '\n') converted += '\r';
    converted += c;
  }
  return converted;
}

std::string repeated(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

std::string allByteValues() {
  std::string bytes = "\x89PNG\r\n\x1a\n";
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

const std::string invalidXml = "Invalid XML data in file:results.xml\n";
const std::string checkersNotFound = "Configuration: --checkers-report file not found\n";
const std::string notCompliant = "Result: <font color=\"red\">Non compliant</font><br>\n";
const std::string compliant = "Result: <font color=\"green\">Compliant</font><br>\n";
const std::string versionNote = "Configuration: <font color=\"red\">Use Tarnwick option --xml-version=3</font><br>\n";

struct HostileCase {
  std::string name = {};
  std::vector<std::pair<std::string, std::string>> files = {};  // name and bytes, written before the run
  std::vector<std::string> arguments = {};                       // after the fixed project and output options
  int status = 1;
  std::string err = {};                       // the whole of standard error
  bool writesReport = false;                  // else the older report must stay as it was
  std::vector<std::string> directories = {};  // made before the run
  std::vector<std::string> unreadable = {};   // mode 000; the run is unprivileged
  std::vector<std::string> reportHolds = {};  // texts the new report contains
  std::vector<std::string> reportLacks = {};  // texts it does not contain
};

std::vector<HostileCase> resultsFileCases() {
  const std::string whole = resultsXml(findings);
  return {
      {.name = "truncated in an attribute",
       .files = {{"results.xml", whole.substr(0, whole.find("severity") + 5)}},
       .arguments = {"results.xml"},
       .err = invalidXml},
      {.name = "truncated between elements",
       .files = {{"results.xml", whole.substr(0, whole.find("</errors>"))}},
       .arguments = {"results.xml"},
       .err = invalidXml},
      {.name = "empty", .files = {{"results.xml", ""}}, .arguments = {"results.xml"}, .err = invalidXml},
      {.name = "binary", .files = {{"results.xml", allByteValues()}}, .arguments = {"results.xml"}, .err = invalidXml},
      {.name = "NUL byte inside the root",
       .files = {{"results.xml", "<results version=\"3\"><safety/>\0</results>\n"s}},
       .arguments = {"results.xml"},
       .err = invalidXml},
      // The parser stops at a NUL byte: the text after it must not be dropped unseen.
      {.name = "NUL byte after the root",
       .files = {{"results.xml", whole + "\0<results version=\"3\"><errors/></results>\n"s}},
       .arguments = {"results.xml"},
       .err = invalidXml},
      {.name = "only an XML declaration",
       .files = {{"results.xml", "<?xml version=\"1.0\"?>\n"}},
       .arguments = {"results.xml"},
       .err = "Invalid file:results.xml\n"},
      {.name = "a directory",
       .arguments = {"results.xml"},
       .err = "Failed to open file:results.xml\n",
       .directories = {"results.xml"}},
      {.name = "unreadable",
       .files = {{"results.xml", whole}},
       .arguments = {"results.xml"},
       .err = "Failed to open file:results.xml\n",
       .unreadable = {"results.xml"}},
      {.name = "missing", .arguments = {"missing.xml"}, .err = "Failed to open file:missing.xml\n"},
      {.name = "100,000 nested elements",
       .files = {{"results.xml", "<results version=\"3\">" + repeated("<errors>", 100000) +
                                     repeated("</errors>", 100000) + "</results>\n"}},
       .arguments = {"results.xml"},
       .err = invalidXml},
      {.name = "100,000 unclosed elements",
       .files = {{"results.xml", "<results version=\"3\"><errors>" + repeated("<error id=\"x\">", 100000)}},
       .arguments = {"results.xml"},
       .err = invalidXml},
      {.name = "invalid UTF-8 in a remark and an id",
       .files = {{"results.xml",
                  resultsXml("<errors>\n<error id=\"nullPointer\" severity=\"error\" remark=\"ok \xff\xfe \xc3\x28 "
                             "\xed\xa0\x80 end\"/>\n<error id=\"bad\xc0\xafid\" severity=\"error\"/>\n</errors>\n")}},
       .arguments = {"--cert-c", "results.xml"},
       .writesReport = true,
       .reportHolds = {"<tr><td>EXP34</td><td>ok \xff\xfe \xc3\x28 \xed\xa0\x80 end</td></tr>\n",
                       "<tr><td>error</td><td>bad\xc0\xafid</td><td>1</td></tr>\n", notCompliant}},
      {.name = "byte-order mark",
       .files = {{"results.xml", "\xef\xbb\xbf" + resultsXml(compliantCweChildren)}},
       .arguments = {"--cwe-top25", "results.xml"},
       .status = 0,
       .writesReport = true,
       .reportHolds = {"Checking tool: Tarnwick 2.14<br>\n", compliant}},
      {.name = "CRLF line ends",
       .files = {{"results.xml", withCrlf(resultsXml(compliantCweChildren))}},
       .arguments = {"--cwe-top25", "results.xml"},
       .status = 0,
       .writesReport = true,
       .reportHolds = {"Checking tool: Tarnwick 2.14<br>\n", compliant}},
      {.name = "a huge root version",
       .files = {{"results.xml", resultsXml("", "99999999999999999999999999")}},
       .arguments = {"--cert-c", "results.xml"},
       .writesReport = true,
       .reportHolds = {versionNote, notCompliant},
       .reportLacks = {"Safety has been turned off"}},
      {.name = "a huge negative root version",
       .files = {{"results.xml", resultsXml("", "-99999999999999999999999999")}},
       .arguments = {"--cert-c", "results.xml"},
       .writesReport = true,
       .reportHolds = {versionNote, notCompliant}},
      {.name = "a huge tool version",
       .files = {{"results.xml",
                  "<results version=\"3\"><tarnwick version=\"184467440737095516161844674407370955161\"/>"
                  "<safety/></results>\n"}},
       .arguments = {"--cert-c", "results.xml"},
       .writesReport = true,
       .reportHolds = {"Checking tool: Tarnwick 184467440737095516161844674407370955161<br>\n"}},
  };
}

std::vector<HostileCase> otherInputCases() {
  const std::string results = resultsXml(findings);
  return {
      {.name = "checkers report is a directory",
       .files = {{"results.xml", results}},
       .arguments = {"--checkers-report=checkers", "results.xml"},
       .err = checkersNotFound,
       .directories = {"checkers"}},
      {.name = "unreadable checkers report",
       .files = {{"results.xml", results}, {"checkers.txt", "Yes  CheckOther::checkUnreachableCode\n"}},
       .arguments = {"--checkers-report=checkers.txt", "results.xml"},
       .err = checkersNotFound,
       .unreadable = {"checkers.txt"}},
      {.name = "binary checkers report",
       .files = {{"results.xml", results}, {"checkers.txt", allByteValues() + "\nYes \0\n\0No  \xff\n"s}},
       .arguments = {"--cwe-top25", "--checkers-report=checkers.txt", "results.xml"},
       .writesReport = true,
       .reportHolds = {notCompliant},
       .reportLacks = {"--xml-version=3"}},
      {.name = "files list is a directory",
       .files = {{"results.xml", results}},
       .arguments = {"--files=files", "results.xml"},
       .err = "Failed to open file:files\n",
       .directories = {"files"}},
      {.name = "unreadable files list",
       .files = {{"results.xml", results}, {"files.md5", "d41d8cd98f00b204e9800998ecf8427e  src/a.c\n"}},
       .arguments = {"--files=files.md5", "results.xml"},
       .err = "Failed to open file:files.md5\n",
       .unreadable = {"files.md5"}},
      {.name = "CRLF files list",
       .files = {{"results.xml", withCrlf(results)},
                 {"files.md5", "d41d8cd98f00b204e9800998ecf8427e  src/a.c\r\n"}},
       .arguments = {"--cert-c", "--files=files.md5", "results.xml"},
       .writesReport = true,
       .reportHolds = {"<tr><td>src/a.c</td><td>d41d8cd98f00b204e9800998ecf8427e</td><td>There are 2 errors.<br><br>"
                       "EXP34: There are 1 'nullPointer' message(s).</td></tr>"}},
      {.name = "NUL bytes and invalid UTF-8 in the files list",
       .files = {{"results.xml", results},
                 {"files.md5", "0123  src/a\0.c\n\xff\xfe  \xc3\x28.c\n"s}},
       .arguments = {"--cert-c", "--files=files.md5", "results.xml"},
       .writesReport = true,
       .reportHolds = {"<tr><td>src/a\0.c</td><td>0123</td><td></td></tr>"s,
                       "<tr><td>\xc3\x28.c</td><td>\xff\xfe</td><td></td></tr>"}},
      {.name = "byte-order mark before the checkers report and the files list",
       .files = {{"results.xml", results},
                 {"checkers.txt", "\xef\xbb\xbfTarnwick checkers report\nYes  CheckOther::checkUnreachableCode\n"},
                 {"files.md5", "\xef\xbb\xbf" "abc  src/a.c\n"}},
       .arguments = {"--cwe-top25", "--checkers-report=checkers.txt", "--files=files.md5", "results.xml"},
       .writesReport = true,
       .reportHolds = {"<tr><td>src/a.c</td><td>\xef\xbb\xbf" "abc</td><td>There are 2 errors.<br>"}},
  };
}

std::vector<HostileCase> outputCases() {
  const std::string results = resultsXml(findings);
  return {
      {.name = "--output-file= naming a directory",
       .files = {{"results.xml", results}},
       .arguments = {"--output-file=reports", "results.xml"},
       .err = "Failed to write file:reports\n",
       .directories = {"reports"}},
      {.name = "--output-file= naming a directory with a slash",
       .files = {{"results.xml", results}},
       .arguments = {"--output-file=reports/", "results.xml"},
       .err = "Failed to write file:reports/\n",
       .directories = {"reports"}},
      {.name = "--output-file= with an empty value",
       .files = {{"results.xml", results}},
       .arguments = {"--output-file=", "results.xml"},
       .err = "Failed to write file:\n"},
      {.name = "--output-file= in a missing directory",
       .files = {{"results.xml", results}},
       .arguments = {"--output-file=missing/report.html", "results.xml"},
       .err = "Failed to write file:missing/report.html\n"},
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
  for (const auto& name : hostileCase.directories) fs::create_directory(scratch.path(name));
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
  for (const auto& piece : hostileCase.reportLacks)
    EXPECT_EQ(report.find(piece), std::string::npos) << "present: " << piece;
}

TEST(HostileInputs, ResultsFile) {
  for (const auto& hostileCase : resultsFileCases()) runCase(hostileCase);
}

TEST(HostileInputs, CheckersReportAndFilesList) {
  for (const auto& hostileCase : otherInputCases()) runCase(hostileCase);
}

TEST(HostileInputs, OutputPath) {
  for (const auto& hostileCase : outputCases()) runCase(hostileCase);
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

}  // namespace
}  // namespace hostile
