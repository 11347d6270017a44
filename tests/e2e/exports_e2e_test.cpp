// The JSON and Markdown exports as the built binary writes them beside the report.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Outcome {
  int status = -1;
  std::string out, err;
};

// A fresh directory holding the inputs; every run starts in it with SOURCE_DATE_EPOCH set.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "guidegate-exports-e2e-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const { return slurp(dir_ / name); }
  bool exists(const std::string& name) const { return fs::exists(dir_ / name); }

  Outcome run(const std::vector<std::string>& arguments) const {
    std::string command = "cd " + quoted(dir_) + " && SOURCE_DATE_EPOCH=1700000000 " + quoted(GUIDEGATE_BINARY);
    for (const auto& argument : arguments) command += " " + quoted(argument);
    command += " >" + quoted(dir_ / ".out") + " 2>" + quoted(dir_ / ".err");
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read(".out"), read(".err")};
  }

 private:
  fs::path dir_;
};

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
    Scratch scratch;
    scratch.write("checkers.txt", cweCheckers);
    scratch.write("files.md5", "5d41402abc4b2a76b9719d911017c592  src/main.c\n");
    scratch.write("results.xml", results(c.errors));
    const std::vector<std::string> common = {c.flag, "--checkers-report=checkers.txt", "--files=files.md5",
                                             "--project-name=Demo", "--project-version=1.0"};
    std::vector<std::string> plain = common, exporting = common;
    plain.push_back("results.xml");
    exporting.insert(exporting.end(), {"--json-output=out.json", "--markdown-summary=out.md", "results.xml"});

    const Outcome first = scratch.run(plain);
    const std::string html = scratch.read(c.report);
    EXPECT_FALSE(scratch.exists("out.json"));
    const Outcome second = scratch.run(exporting);
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
    Scratch scratch;
    scratch.write("checkers.txt", cweCheckers);
    scratch.write("results.xml", results(""));
    scratch.write("missing", "a file, not a folder");
    const Outcome outcome = scratch.run({"--cwe-top25", "--checkers-report=checkers.txt", "--project-name=Demo",
                                         "--project-version=1.0", option + "missing/out", "results.xml"});
    EXPECT_EQ(outcome.status, 1) << option;
    EXPECT_EQ(outcome.err, "Failed to write file:missing/out\n") << option;
    EXPECT_EQ(outcome.out, "");
  }
  Scratch scratch;  // a run that fails before judging writes no export
  const Outcome outcome = scratch.run({"--json-output=out.json", "--markdown-summary=out.md", "absent.xml"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_FALSE(scratch.exists("out.json"));
  EXPECT_FALSE(scratch.exists("out.md"));
}

}  // namespace
