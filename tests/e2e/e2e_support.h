// Runs the built guidegate binary in a fresh directory and takes its report apart.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

inline const std::string kBinary = GUIDEGATE_BINARY;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// The text in single quotes for the shell; a quote inside becomes '\''.
inline std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One temporary directory per test: its "work" folder holds the inputs and is the current
// directory of every run; the captured streams lie beside it. Removed at the end.
class Workspace {
 public:
  Workspace() {
    std::string pattern = (std::filesystem::temp_directory_path() / "guidegate-e2e-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    std::filesystem::create_directory(work());
  }
  ~Workspace() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  std::filesystem::path work() const { return root_ / "work"; }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(work() / name, std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const { return readBytes(work() / name); }
  // The names in the work folder, sorted.
  std::set<std::string> files() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(work())) names.insert(entry.path().filename());
    return names;
  }

  // Runs the binary with `environment` (NAME=value pairs) added to the inherited one.
  RunResult run(const std::vector<std::string>& arguments,
                const std::vector<std::pair<std::string, std::string>>& environment = {}) const {
    std::string command = "cd " + shellQuote(work()) + " && ";
    for (const auto& [name, value] : environment) command += name + "=" + shellQuote(value) + " ";
    command += shellQuote(kBinary);
    for (const auto& argument : arguments) command += " " + shellQuote(argument);
    command += " >" + shellQuote(root_ / "stdout") + " 2>" + shellQuote(root_ / "stderr");
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readBytes(root_ / "stdout");
    result.err = readBytes(root_ / "stderr");
    return result;
  }

 private:
  std::filesystem::path root_;
};

inline std::vector<std::string> split(const std::string& text, const std::string& separator) {
  std::vector<std::string> pieces;
  for (std::size_t start = 0;;) {
    const auto end = text.find(separator, start);
    pieces.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return pieces;
    start = end + separator.size();
  }
}

// A results file of the analyzer holding `children` under its root.
inline std::string resultsXml(const std::string& children, const std::string& version = "3") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<results version=\"" + version +
         "\">\n<tarnwick version=\"2.14\"/>\n" + children + "</results>\n";
}

inline std::string checkersXml(const std::vector<std::string>& labels) {
  std::string element = "<checkers-report>\n";
  for (const auto& label : labels) element += "<checker id=\"" + label + "\"/>\n";
  return element + "</checkers-report>\n";
}

// A clean SANS CWE Top 25 analysis in which every implemented row's check ran.
inline std::string compliantCweResults() {
  return resultsXml("<safety/>\n" + checkersXml({"CheckBufferOverrun::bufferOverflow", "CheckCondition::multiCondition",
                                                 "CheckType::checkIntegerOverflow"}));
}

inline const std::string kProjectNotes =
    "Configuration: --project-name has not been provided\nConfiguration: --project-version has not been provided\n";

// The document with its date line replaced by "Date: DATE<br>\n".
inline std::string normaliseDate(const std::string& document) {
  static const std::regex date("Date: [^\n]*<br>\n");
  return std::regex_replace(document, date, "Date: DATE<br>\n", std::regex_constants::format_first_only);
}

inline std::string styleSheet(bool blue) {
  return "\nbody {\n  font-family: Helvetica,Arial, sans-serif;\n}\n\ntable, th, td {\n  border: 0px solid;\n"
         "  border-collapse: collapse;\n}\n\ntable {\n  width: 900px;\n}\n\nth, td {\n  padding: 5px;\n"
         "  text-align: left;\n  font-family: Helvetica,Arial, sans-serif;\n}\n\nth {\n  font-weight: 900;\n"
         "  background-color: " +
         std::string(blue ? "#2980b9" : "#ea6153") +
         ";\n  color: white;\n}\n\ntd {\n  color: #3d3d3d;\n}\n\ntr:nth-child(even) {\n"
         "  background-color: #e9e9e9;\n}\n";
}

// The document up to its first line after the heading.
inline std::string documentStart(const std::string& title, bool blue) {
  return "<html><head><title>" + title + " Compliance Report</title><style>" + styleSheet(blue) +
         "</style></head><body><h1>" + title + " Compliance Report</h1>\n";
}

// A table of the report: header cells, then the rows, each row already ending as its table ends rows.
inline std::string table(const std::string& headerCells, const std::string& rows) {
  return "<table>\n<thead><tr>" + headerCells + "</tr></thead>\n<tbody>\n" + rows + "</tbody></table>\n";
}
inline std::string acceptedSection(const std::string& rows) {
  return "<br>\n<h2 id=\"accepted-violations\">Accepted Violations</h2>\n" + table("<th>Rule</th><th>Remark</th>", rows) +
         "<br>\n";
}
inline std::string suppressionsSection(const std::string& rows) {
  return "<br>\n<h2 id=\"suppressions\">Suppressions</h2></a>\n" +
         (rows.empty() ? "" : table("<th>Rule</th><th>Id</th>", rows)) + "<br>\n";
}
inline std::string unmappedSection(const std::string& rows) {
  return "<h2>Unmapped</h2>Errors/warnings that have not been mapped to a guideline.<br>" +
         table("<th>Severity</th><th>Id</th><th width=\"300px\">Number of reports</th>", rows);
}
inline std::string filesSection(const std::string& rows) {
  return "<h2>Files</h2>" + table("<th>Filename</th><th>md5sum</th><th width=\"300px\">Compliance</th>", rows);
}

inline const std::string kViolationsHead =
    "<h2>Violations</h2><table>\n<thead><tr><th>Guideline</th><th>Text</th>"
    "<th width=\"300px\">Compliance</th></tr></thead>\n<tbody>\n";
inline const std::string kMisraCViolationsHead =
    "<h2>Violations</h2><table>\n<thead><tr><th>Guideline</th><th>Category</th>"
    "<th width=\"300px\">Compliance</th></tr></thead>\n<tbody>\n";
inline const std::string kDocumentEnd = "</tbody></table>\n</body>\n</html>\n";
inline const std::string kRedNotExecuted = "<font color=\"red\">Not executed</font>";

inline std::string violation(const std::string& id, int count = 1) {
  return "<font color=\"red\">Violations:<br>There are " + std::to_string(count) + " '" + id + "' messages.</font>";
}

// A report cut at its Violations rows: everything before them (date normalised), the
// rows ("<tr>" ... "</tr>", without the newline after each) and everything after them.
struct Report {
  std::string head;
  std::vector<std::string> rows;
  std::string tail;
};

inline Report splitReport(const std::string& document) {
  Report report;
  const auto violations = document.rfind("<h2>Violations</h2>");
  const auto body = document.find("\n<tbody>\n", violations);
  const auto end = document.rfind("</tbody></table>\n");
  if (violations == std::string::npos || body == std::string::npos || end == std::string::npos || end < body)
    return {normaliseDate(document), {}, {}};
  const auto start = body + 9;
  report.head = normaliseDate(document.substr(0, start));
  for (std::size_t at = start; at < end;) {
    const auto close = document.find("</tr>\n", at);
    if (close == std::string::npos || close >= end) break;
    report.rows.push_back(document.substr(at, close + 5 - at));
    at = close + 6;
  }
  report.tail = document.substr(end);
  return report;
}

inline std::string guidelineOf(const std::string& row) { return row.substr(8, row.find("</td>") - 8); }
inline std::string rowOf(const Report& report, const std::string& guideline) {
  for (const auto& row : report.rows)
    if (guidelineOf(row) == guideline) return row;
  return "";
}
inline std::string statusOf(const std::string& row) {
  const auto open = row.rfind("<td>") + 4;
  return row.substr(open, row.size() - 10 - open);
}

// Checks every Violations row: the guideline column in `guidelines` order, and each status
// as `touched` gives it, "Not implemented" for `notImplemented`, "Compliant" otherwise.
inline void expectRows(const Report& report, const std::vector<std::string>& guidelines,
                       const std::map<std::string, std::string>& touched,
                       const std::set<std::string>& notImplemented = {}) {
  std::vector<std::string> listed;
  for (const auto& row : report.rows) {
    const std::string guideline = guidelineOf(row);
    listed.push_back(guideline);
    const auto found = touched.find(guideline);
    const std::string expected = found != touched.end()            ? found->second
                                 : notImplemented.count(guideline) ? "Not implemented"
                                                                   : "Compliant";
    EXPECT_EQ(statusOf(row), expected) << row;
  }
  EXPECT_EQ(listed, guidelines);
  for (const auto& [guideline, status] : touched)
    EXPECT_NE(std::find(listed.begin(), listed.end(), guideline), listed.end()) << guideline;
  EXPECT_EQ(report.tail, kDocumentEnd);
}

}  // namespace e2e
