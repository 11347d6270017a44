#include "exports/exports.h"

#include "driver/command_line.h"
#include "html/report_document.h"
#include "input/files_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "catalogues/tables.h"

namespace guidegate {
namespace {

// Where the hand-made findings are.
const Location inA[] = {{"a.c"}};
const Location inB[] = {{"b.c"}};

using nlohmann::json;

struct Exports {
  std::string html;
  json report;
  std::string markdown;
};

// What a run records of a results file of ten bytes, "<results/>".
Provenance plainProvenance() {
  Provenance provenance;
  provenance.arguments = {"results.xml"};
  provenance.results = InputDigest{"results.xml", 10, std::string(64, '0')};
  return provenance;
}

Exports exportsOf(const RunOptions& options, const ResultsDocument& document, const CheckersRun& checkersRun,
                  Provenance provenance = plainProvenance()) {
  std::optional<std::vector<FileEntry>> files;
  if (options.filesList) files = readFilesList(*options.filesList);
  const ComplianceEvaluation evaluation = evaluateRun({.standard = options.standard,
                                                       .document = document,
                                                       .checkersReport = checkersRun,
                                                       .checkersReportGiven = options.checkersReport.has_value(),
                                                       .files = std::move(files),
                                                       .suppressions = options.suppressions,
                                                       .projectName = options.projectName,
                                                       .projectVersion = options.projectVersion,
                                                       .date = 1796652180,  // 2026-12-07T14:03:00Z
                                                       .provenance = std::move(provenance),
                                                       .gate = options.gate,
                                                       .complianceSummary = options.complianceSummary.has_value()});
  return {renderHtmlReport(evaluation), json::parse(jsonReport(evaluation)), markdownSummary(evaluation)};
}

bool isMisraC(CodingStandard standard) {
  return standard == CodingStandard::MisraC2012 || standard == CodingStandard::MisraC2023;
}

// A run in which, row by row, guidelines are violated, accepted, suppressed either way,
// left unexecuted or clean; ids shared between rows mix these outcomes further.
struct MixedRun {
  RunOptions options;
  ResultsDocument document;
  CheckersRun checkersRun;
};

MixedRun mixedRun(CodingStandard standard) {
  MixedRun run;
  run.options.standard = standard;
  run.options.checkersReport = "checkers.txt";
  run.document.xmlVersion = 3;
  run.document.safety = true;
  run.document.results.push_back({"strayFinding", "error", "", inA});
  const ReportCatalogue catalogue = reportCatalogue(standard);
  int k = 0;
  for (const auto& row : catalogue.guidelines()) {
    if (row.mappedIds.empty() || row.mappedIds == "error") continue;
    // The findings' texts are held by the document.
    TextPool& texts = *run.document.texts;
    const std::string_view id = texts.intern(row.mappedIds.substr(0, row.mappedIds.find(',')));
    const std::string key = row.id.starts_with("Dir ") ? row.id.substr(4) : row.id;
    auto& results = run.document.results;
    switch (k % 6) {
      case 0:
        for (int i = 0; i <= k % 3; ++i) results.push_back({id, "style", "", inA});
        if (k % 12 == 0) results.push_back({texts.intern("solvane-" + std::string(id)), "warning", "", inB});
        if (k % 12 == 6) results.push_back({id, "style", "reviewed", inA});
        break;
      case 1:
        results.push_back({id, "style", "first remark", inA});
        results.push_back({id, "style", "second remark", inB});
        break;
      case 2: run.options.suppressions.emplace(id); break;
      case 3: run.document.suppressions.emplace_back(id); break;
    }
    if (k++ % 6 == 4) continue;  // its checks did not run
    for (const std::string& label : {"Cert C: " + row.id + "-C", "Cert C++: " + row.id + "-CPP",
                                     "Misra C 2012: " + row.id, "Misra C 2023: " + row.id,
                                     "Misra C++ 2008: " + row.id, "Misra C++ 2023: " + key})
      run.checkersRun[label] = true;
    if (auto found = checkerNames.find(std::string(id)); found != checkerNames.end()) run.checkersRun[found->second] = true;
  }
  return run;
}

// One row of the Violations table: its cells, the status cell taken apart.
struct HtmlRow {
  std::vector<std::string> cells;
  std::string status;
  std::vector<std::pair<std::string, int>> violations;
  std::vector<std::string> accepted;
  std::string suppressed;
};

std::vector<HtmlRow> violationsTable(const std::string& html) {
  std::vector<HtmlRow> rows;
  const auto tbody = html.find("<tbody>\n", html.find("<h2>Violations</h2>"));
  const auto end = html.find("</tbody>", tbody);
  for (auto at = html.find("<tr>", tbody); at < end; at = html.find("<tr>", at)) {
    const auto close = html.find("</tr>", at);
    const std::string row = html.substr(at + 4, close - at - 4);
    HtmlRow parsed;
    for (auto cell = row.find("<td>"); cell != std::string::npos; cell = row.find("<td>", cell + 1))
      parsed.cells.push_back(row.substr(cell + 4, row.find("</td>", cell) - cell - 4));
    const std::string& cell = parsed.cells.back();
    static const std::regex sentence("There are ([0-9]+) '([^']*)' message");
    for (std::sregex_iterator it(cell.begin(), cell.end(), sentence), last; it != last; ++it)
      parsed.violations.emplace_back(plainText((*it)[2]), std::stoi((*it)[1]));
    const auto accepted = cell.find("Accepted Violations:");
    const auto suppressed = cell.find("Suppressed:<br>");
    if (accepted != std::string::npos) {
      std::string list = cell.substr(accepted + 20, suppressed == std::string::npos ? suppressed : suppressed - accepted - 20);
      for (auto from = list.find("<br>"); from != std::string::npos; from = list.find("<br>", from + 4)) {
        const std::string id = list.substr(from + 4, list.find("<br>", from + 4) - from - 4);
        if (!id.empty()) parsed.accepted.push_back(plainText(id));
      }
    }
    if (suppressed != std::string::npos) parsed.suppressed = plainText(cell.substr(suppressed + 15));
    if (cell == "Not implemented") parsed.status = "not-implemented";
    else if (cell.find("Not executed") != std::string::npos) parsed.status = "not-executed";
    else if (cell.find("<font color=\"red\">Violations:") != std::string::npos) parsed.status = "violations";
    else if (accepted != std::string::npos) parsed.status = "accepted-violations";
    else if (suppressed != std::string::npos) parsed.status = "suppressed";
    else parsed.status = cell == "Compliant" ? "compliant" : "unrecognised: " + cell;
    rows.push_back(std::move(parsed));
    at = close;
  }
  return rows;
}

const std::vector<std::pair<CodingStandard, std::size_t>> catalogueSizes = {
    {CodingStandard::CertC, 99},         {CodingStandard::CertCpp, 159},      {CodingStandard::MisraC2012, 216},
    {CodingStandard::MisraC2023, 221},   {CodingStandard::MisraCpp2008, 216}, {CodingStandard::MisraCpp2023, 179},
    {CodingStandard::CweTop25, 25}};

const std::vector<std::string> statuses = {"compliant",  "violations",   "accepted-violations",
                                           "suppressed", "not-executed", "not-implemented"};

TEST(PlainText, DecodesTheFiveReferencesTheReportWritesAndNothingElse) {
  EXPECT_EQ(plainText("Each operand of a logical &amp;&amp; or || shall be a postfix-expression."),
            "Each operand of a logical && or || shall be a postfix-expression.");
  EXPECT_EQ(plainText("Sections of code shall not be &quot;commented out&quot; using C-style comments."),
            "Sections of code shall not be \"commented out\" using C-style comments.");
  EXPECT_EQ(plainText("&gt;, &gt;=, &lt;, &lt;= and &#39;x&#39;"), ">, >=, <, <= and 'x'");
  EXPECT_EQ(plainText("The unary & operator; <cstdio>; &nbsp; &amp;lt; &"), "The unary & operator; <cstdio>; &nbsp; &lt; &");
}

TEST(StatusName, ExecutionFirstThenViolationsAcceptedSuppressed) {
  GuidelineVerdict all;
  all.violations = {{"nullPointer", 2}};
  all.acceptedIds = {"nullPointer"};
  all.suppressedByOption = {"uninitvar"};
  all.suppressedInResults = {"memleak"};
  EXPECT_STREQ(statusName(all.status()), "violations");
  GuidelineVerdict noViolations = all;
  noViolations.violations.clear();
  EXPECT_STREQ(statusName(noViolations.status()), "accepted-violations");
  GuidelineVerdict byOption = noViolations, inResults = noViolations;
  byOption.acceptedIds.clear(), byOption.suppressedInResults.clear();
  inResults.acceptedIds.clear(), inResults.suppressedByOption.clear();
  EXPECT_STREQ(statusName(byOption.status()), "suppressed");
  EXPECT_STREQ(statusName(inResults.status()), "suppressed");
  EXPECT_STREQ(statusName(GuidelineVerdict{}.status()), "compliant");
  GuidelineVerdict bySeverity;
  bySeverity.judgedBySeverity = true;
  EXPECT_STREQ(statusName(bySeverity.status()), "compliant");
  bySeverity.warningCount = 1;
  EXPECT_STREQ(statusName(bySeverity.status()), "violations");
  for (auto [execution, name] : {std::pair{Execution::NotExecuted, "not-executed"},
                                 {Execution::NotExecutedTolerated, "not-executed"},
                                 {Execution::NotImplemented, "not-implemented"}}) {
    GuidelineVerdict unexecuted = all;
    unexecuted.execution = execution;
    EXPECT_STREQ(statusName(unexecuted.status()), name);
  }
}

TEST(JsonReport, AgreesWithTheHtmlGuidelineByGuidelineForEveryStandard) {
  for (const auto& [standard, size] : catalogueSizes) {
    const MixedRun run = mixedRun(standard);
    const Exports exports = exportsOf(run.options, run.document, run.checkersRun);
    const json& guidelines = exports.report["guidelines"];
    const std::vector<HtmlRow> rows = violationsTable(exports.html);
    SCOPED_TRACE(exports.report["standard"]["flag"].get<std::string>());
    ASSERT_EQ(rows.size(), size);
    ASSERT_EQ(guidelines.size(), size);
    std::set<std::string> seen;
    for (std::size_t i = 0; i < size; ++i) {
      const json& guideline = guidelines[i];
      const HtmlRow& row = rows[i];
      const std::string id = guideline["id"];
      SCOPED_TRACE(id);
      const bool misraRule = isMisraC(standard) && !id.starts_with("Dir ");
      EXPECT_EQ(row.cells[0], (misraRule ? "Rule " : "") + id);
      if (isMisraC(standard)) EXPECT_EQ(row.cells[1], guideline["category"]);
      else EXPECT_EQ(plainText(row.cells[1]), guideline["text"]);
      EXPECT_EQ(row.status, guideline["status"]);
      seen.insert(row.status);
      const bool executed = row.status != "not-executed" && row.status != "not-implemented";
      EXPECT_EQ(guideline["executed"], executed);
      if (!executed) continue;
      std::vector<std::pair<std::string, int>> violations;
      for (const auto& violation : guideline["violations"]) violations.emplace_back(violation["id"], violation["count"]);
      EXPECT_EQ(violations, row.violations);
      std::vector<std::string> accepted;
      for (const auto& record : guideline["acceptedViolations"])
        if (std::find(accepted.begin(), accepted.end(), record["id"]) == accepted.end()) accepted.push_back(record["id"]);
      EXPECT_EQ(accepted, row.accepted);
      std::string suppressed;
      for (const char* list : {"byOption", "inResults"})
        for (const auto& suppressedId : guideline["suppressed"][list])
          suppressed += (suppressed.empty() ? "" : ", ") + suppressedId.get<std::string>();
      EXPECT_EQ(suppressed, row.suppressed);
    }
    // The nine executable CWE rows share ids too much to keep a clean or an unexecuted one.
    std::set<std::string> expected = {"violations", "accepted-violations", "suppressed"};
    if (standard != CodingStandard::CweTop25) expected.insert({"compliant", "not-executed"});
    for (const auto& status : expected) EXPECT_TRUE(seen.contains(status)) << status;
  }
}

TEST(JsonReport, SummaryCountsAddUpToTheCatalogue) {
  const std::map<std::string, int> misraC2012 = {{"Mandatory", 23}, {"Required", 145}, {"Advisory", 48}};
  const std::map<std::string, int> misraC2023 = {{"Mandatory", 23}, {"Required", 150}, {"Advisory", 48}};
  for (const auto& [standard, size] : catalogueSizes) {
    const MixedRun run = mixedRun(standard);
    const json report = exportsOf(run.options, run.document, run.checkersRun).report;
    const json& summary = report["summary"];
    std::map<std::string, int> listed;
    for (const auto& guideline : report["guidelines"])
      ++listed[guideline["status"]];
    int total = 0;
    for (const auto& status : statuses) {
      EXPECT_EQ(summary["byStatus"][status], listed[status]) << status;
      total += summary["byStatus"][status].get<int>();
    }
    EXPECT_EQ(total, static_cast<int>(size));
    if (!isMisraC(standard)) {
      EXPECT_TRUE(summary["byCategory"].is_null());
      continue;
    }
    for (const auto& [category, rows] : standard == CodingStandard::MisraC2012 ? misraC2012 : misraC2023) {
      int inCategory = 0;
      for (const auto& status : statuses) inCategory += summary["byCategory"][category][status].get<int>();
      EXPECT_EQ(inCategory, rows) << category;
    }
  }
}

class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "guidegate-exports-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    ::close(fd);
    path_ = pattern;
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~TempFile() { std::filesystem::remove(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Markdown text with its backslash escapes removed, as a renderer shows it.
std::string rendered(const std::string& markdown) {
  return std::regex_replace(markdown, std::regex(R"(\\([!-/:-@\[-`{-~]))"), "$1");
}

void expectNoRawAngleBracket(const std::string& markdown) {
  for (std::size_t at = markdown.find('<'); at != std::string::npos; at = markdown.find('<', at + 1))
    EXPECT_TRUE(at > 0 && markdown[at - 1] == '\\') << markdown.substr(at > 20 ? at - 20 : 0, 40);
}

TEST(Exports, HostileTextsGiveValidJsonAndEscapedMarkdown) {
  const std::string hostile = "say \"hi\" \\ \x01 <b>|\xff end";
  const std::string hostileJson = "say \"hi\" \\ \x01 <b>|\xEF\xBF\xBD end";  // invalid bytes replaced
  const std::string file = "src/\"q\\\x01\xff.c";
  const TempFile filesList("5d41402abc4b2a76b9719d911017c592  " + file + "\n");
  RunOptions options;
  options.standard = CodingStandard::CertC;
  options.filesList = filesList.path();
  options.projectName = hostile;
  ResultsDocument document;
  document.checkingTool = hostile;
  const Location inFile[] = {{file}};
  document.results = {{"solvane-cert-pre31-c", "style", hostile, inFile}, {hostile, "error", "", inFile}};
  const Exports exports = exportsOf(options, document, {{"Cert C: PRE31-C", true}});
  const json& report = exports.report;
  EXPECT_EQ(report["project"]["name"], hostileJson);
  EXPECT_TRUE(report["project"]["version"].is_null());
  EXPECT_EQ(report["checkingTool"], hostileJson);
  json unmapped = json::array();
  unmapped.push_back({{"severity", "error"}, {"id", hostileJson}, {"count", 1}});
  EXPECT_EQ(report["unmapped"], unmapped);
  EXPECT_EQ(report["guidelines"][1]["id"], "PRE31");
  EXPECT_EQ(report["guidelines"][1]["acceptedViolations"][0]["remark"], hostileJson);
  ASSERT_EQ(report["files"].size(), 1u);
  EXPECT_EQ(report["files"][0]["name"], "src/\"q\\\x01\xEF\xBF\xBD.c");
  EXPECT_EQ(report["files"][0]["errors"], 1);
  expectNoRawAngleBracket(exports.markdown);
  // Controls and bytes that are not UTF-8 become U+FFFD, a word joiner keeps "<" from opening a tag.
  EXPECT_NE(rendered(exports.markdown).find("say \"hi\" \\ \uFFFD <\u2060b>|"), std::string::npos);
}

// The exports record the options of the run and every input file as read; the HTML
// report shows none of it.
TEST(Provenance, JsonRecordsArgumentsAndInputsMarkdownEndsWithTheResultsDigest) {
  const std::string resultsSha = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  const std::string checkersSha = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
  const std::string filesSha = "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1";
  const TempFile filesList("5d41402abc4b2a76b9719d911017c592  a.c\n");
  RunOptions options;
  options.standard = CodingStandard::MisraC2012;
  options.checkersReport = "checkers.txt";
  options.filesList = filesList.path();
  Provenance provenance;
  provenance.arguments = {"--misra-c-2012", "--project-name=<b>\"x\"\xff", "--checkers-report=checkers.txt",
                          "--files=" + filesList.path(), "--json-output=out.json", "in/results.xml"};
  provenance.results = InputDigest{"in/results.xml", 1234, resultsSha};
  provenance.checkersReport = InputDigest{"checkers.txt", 0, checkersSha};
  provenance.filesList = InputDigest{filesList.path(), 39, filesSha};
  ResultsDocument document;
  document.results = {{"misra-c2012-8.4", "style", "", inA}};
  const Exports exports = exportsOf(options, document, {}, provenance);

  const json expected = {
      {"arguments",
       {"--misra-c-2012", "--project-name=<b>\"x\"\xEF\xBF\xBD", "--checkers-report=checkers.txt",
        "--files=" + filesList.path(), "--json-output=out.json", "in/results.xml"}},
      {"inputs",
       {{"results", {{"path", "in/results.xml"}, {"size", 1234}, {"sha256", resultsSha}}},
        {"checkersReport", {{"path", "checkers.txt"}, {"size", 0}, {"sha256", checkersSha}}},
        {"files", {{"path", filesList.path()}, {"size", 39}, {"sha256", filesSha}}},
        {"baseline", nullptr}}}};
  EXPECT_EQ(exports.report["provenance"], expected);
  EXPECT_EQ(exports.report["schemaVersion"], 3);
  EXPECT_EQ(exports.report["tool"]["version"], GUIDEGATE_VERSION);
  const std::string footer = std::string("\nWritten by guidegate ") + GUIDEGATE_VERSION +
                             " from the results file with SHA-256 " + resultsSha + ".\n";
  EXPECT_TRUE(exports.markdown.ends_with("\n" + footer)) << exports.markdown.substr(exports.markdown.size() - 200);

  Provenance without;
  without.arguments = {"in/results.xml"};
  without.results = InputDigest{"in/results.xml", 1, checkersSha};
  const Exports other = exportsOf(options, document, {}, without);
  EXPECT_EQ(other.html, exports.html);
  EXPECT_TRUE(other.report["provenance"]["inputs"]["checkersReport"].is_null());
  EXPECT_TRUE(other.report["provenance"]["inputs"]["files"].is_null());
}

TEST(MarkdownSummary, ListsEveryNotExecutedGuidelineWithNotesAndFatalErrors) {
  RunOptions options;
  options.standard = CodingStandard::CertC;
  ResultsDocument document;  // xml version 2, no checkers report: nothing ran
  document.inlineSuppr = true;
  document.results = {{"syntaxError", "error", "", inA}, {"unknownMacro", "error", "", inB}};
  const Exports exports = exportsOf(options, document, {});
  const std::string& md = exports.markdown;
  expectNoRawAngleBracket(md);
  const auto begin = md.find("## Not executed guidelines\n\n");
  ASSERT_NE(begin, std::string::npos);
  EXPECT_NE(md.find("## Violated guidelines\n\nNone.\n\n"), std::string::npos);
  EXPECT_LT(md.find("## Violated guidelines"), begin);
  const std::string section = md.substr(begin, md.find("\n## ", begin) - begin);
  std::size_t notExecutedRows = 0;
  for (auto at = section.find("\n- "); at != std::string::npos; at = section.find("\n- ", at + 1)) ++notExecutedRows;
  EXPECT_EQ(notExecutedRows, 99u);
  EXPECT_EQ(md.find("stops here"), std::string::npos);
  EXPECT_NE(md.find("| not-executed | 99 |"), std::string::npos);
  const std::string text = rendered(md);
  EXPECT_NE(text.find("- Use Tarnwick option --xml-version=3\n- Tarnwick option --inline-suppr has been used\n"),
            std::string::npos);
  EXPECT_NE(text.find("- syntaxError\n- unknownMacro\n"), std::string::npos);
  EXPECT_EQ(exports.report["fatalErrors"], json({"syntaxError", "unknownMacro"}));
  EXPECT_EQ(exports.report["configurationNotes"],
            json({"Use Tarnwick option --xml-version=3", "Tarnwick option --inline-suppr has been used"}));
  EXPECT_EQ(exports.report["result"], json({{"compliant", false}, {"text", "Non compliant"}}));
}

// The texts of the header are shortened, so that the summary stays under 1 MiB.
TEST(MarkdownSummary, StaysUnderOneMebibyteWithEndlessHeaderTexts) {
  RunOptions options;
  options.standard = CodingStandard::MisraC2012;
  options.projectName = std::string(2 * 1024 * 1024, 'p');
  ResultsDocument document;
  document.checkingTool = std::string(2 * 1024 * 1024, 't');
  const Exports exports = exportsOf(options, document, {});
  EXPECT_LT(exports.markdown.size(), 1024u * 1024u);
  EXPECT_NE(exports.markdown.find("**Project:** " + std::string(4096, 'p') + "…  \n"), std::string::npos);
}

// Checks a value against a JSON Schema written with type, properties, required,
// additionalProperties (false only), items, enum, const, minimum, pattern and $ref into
// the same document; annotations are skipped and any other keyword is refused.
class SchemaValidator {
 public:
  explicit SchemaValidator(json schema) : root_(std::move(schema)) {}

  std::vector<std::string> errors(const json& value) const {
    std::vector<std::string> found;
    check(root_, value, "", found);
    return found;
  }

 private:
  static bool hasType(const json& value, const std::string& type) {
    if (type == "null") return value.is_null();
    if (type == "boolean") return value.is_boolean();
    if (type == "integer") return value.is_number_integer();
    if (type == "string") return value.is_string();
    if (type == "array") return value.is_array();
    if (type == "object") return value.is_object();
    throw std::invalid_argument("unsupported type " + type);
  }

  void check(const json& schema, const json& value, const std::string& path, std::vector<std::string>& found) const {
    auto fail = [&](const std::string& what) { found.push_back((path.empty() ? "/" : path) + ": " + what); };
    for (const auto& [keyword, rule] : schema.items()) {
      if (keyword == "$schema" || keyword == "title" || keyword == "description" || keyword == "$defs") continue;
      if (keyword == "$ref") {
        check(root_.at(json::json_pointer(rule.get<std::string>().substr(1))), value, path, found);
      } else if (keyword == "type") {
        const json types = rule.is_array() ? rule : json::array({rule});
        if (std::none_of(types.begin(), types.end(), [&](const json& type) { return hasType(value, type); }))
          fail(value.dump() + " is not of type " + rule.dump());
      } else if (keyword == "enum") {
        if (std::find(rule.begin(), rule.end(), value) == rule.end()) fail(value.dump() + " is not one of " + rule.dump());
      } else if (keyword == "const") {
        if (value != rule) fail(value.dump() + " is not " + rule.dump());
      } else if (keyword == "minimum") {
        if (value.is_number() && value.get<double>() < rule.get<double>()) fail(value.dump() + " is below the minimum");
      } else if (keyword == "pattern") {
        if (value.is_string() && !std::regex_search(value.get<std::string>(), std::regex(rule.get<std::string>())))
          fail(value.dump() + " does not match " + rule.dump());
      } else if (keyword == "required") {
        if (value.is_object())
          for (const auto& name : rule)
            if (!value.contains(name)) fail("missing " + name.get<std::string>());
      } else if (keyword == "properties") {
        if (value.is_object())
          for (const auto& [name, property] : rule.items())
            if (value.contains(name)) check(property, value[name], path + "/" + name, found);
      } else if (keyword == "additionalProperties") {
        if (rule != false) throw std::invalid_argument("additionalProperties other than false");
        if (value.is_object())
          for (const auto& [name, ignored] : value.items())
            if (!schema.contains("properties") || !schema["properties"].contains(name)) fail("unexpected " + name);
      } else if (keyword == "items") {
        if (value.is_array())
          for (std::size_t i = 0; i < value.size(); ++i) check(rule, value[i], path + "/" + std::to_string(i), found);
      } else {
        throw std::invalid_argument("unsupported keyword " + keyword);
      }
    }
  }

  json root_;
};

SchemaValidator reportSchema() {
  std::ifstream in(GUIDEGATE_JSON_SCHEMA);
  return SchemaValidator(json::parse(in));
}

TEST(JsonReportSchema, ReportsOfEveryStandardValidate) {
  const SchemaValidator schema = reportSchema();
  const TempFile filesList("d41d8cd98f00b204e9800998ecf8427e  a.c\n0cc175b9c0f1b6a831c399e269772661  b.c\n");
  for (const auto& [standard, size] : catalogueSizes) {
    MixedRun run = mixedRun(standard);
    run.options.filesList = filesList.path();
    run.options.projectVersion = "2.0";
    const json report = exportsOf(run.options, run.document, run.checkersRun).report;
    EXPECT_EQ(report["files"].size(), 2u);
    EXPECT_EQ(schema.errors(report), std::vector<std::string>{}) << report["standard"]["flag"];
  }
  RunOptions plain;
  plain.standard = CodingStandard::MisraCpp2008;
  EXPECT_EQ(schema.errors(exportsOf(plain, ResultsDocument{}, {}).report), std::vector<std::string>{});
}

TEST(JsonReportSchema, RejectsWhatTheFormatDoesNotAllow) {
  const SchemaValidator schema = reportSchema();
  const MixedRun run = mixedRun(CodingStandard::MisraC2023);
  const json report = exportsOf(run.options, run.document, run.checkersRun).report;
  ASSERT_TRUE(schema.errors(report).empty());
  const std::vector<std::function<void(json&)>> breakages = {
      [](json& r) { r["guidelines"][0]["status"] = "partly"; },
      [](json& r) { r.erase("summary"); },
      [](json& r) { r["result"]["colour"] = "red"; },
      [](json& r) { r["guidelines"][5]["violations"].push_back({{"id", "x"}, {"count", 0}}); },
      [](json& r) { r["date"] = "07 December 2026"; },
      [](json& r) { r["project"]["name"] = 5; },
      [](json& r) { r["summary"]["byCategory"].erase("Advisory"); },
      [](json& r) { r["guidelines"][0]["category"] = "Optional"; },
      [](json& r) { r.erase("warnings"); },
      [](json& r) { r["warnings"].push_back({{"code", "typo"}, {"count", 1}, {"example", "x"}}); },
      [](json& r) { r["warnings"].push_back({{"code", "unknown-suppressions"}, {"count", -1}, {"example", "x"}}); },
      [](json& r) { r["warnings"].push_back({{"code", "root-not-results"}, {"count", 1}}); },
      [](json& r) { r["schemaVersion"] = 1; },
  };
  for (std::size_t i = 0; i < breakages.size(); ++i) {
    json broken = report;
    breakages[i](broken);
    EXPECT_FALSE(schema.errors(broken).empty()) << "breakage " << i;
  }
}


// The Guideline Compliance Summary of every MISRA standard: one entry per listed row, in
// the order of the report, whose counts add up to the catalogue and follow the categories
// of the standard's tables; only asked for does it appear.
TEST(ComplianceSummaryExport, CountsAddUpToTheCatalogueOfEveryMisraStandard) {
  const SchemaValidator schema = reportSchema();
  // The published category totals of the two MISRA C++ standards.
  const std::map<CodingStandard, std::map<std::string, int>> categoryTotals = {
      {CodingStandard::MisraCpp2008, {{"Mandatory", 0}, {"Required", 198}, {"Advisory", 18}}},
      {CodingStandard::MisraCpp2023, {{"Mandatory", 5}, {"Required", 124}, {"Advisory", 50}}}};
  for (const auto& [standard, size] : catalogueSizes) {
    if (standard == CodingStandard::CertC || standard == CodingStandard::CertCpp ||
        standard == CodingStandard::CweTop25)
      continue;
    MixedRun run = mixedRun(standard);
    const json without = exportsOf(run.options, run.document, run.checkersRun).report;
    EXPECT_FALSE(without.contains("complianceSummary"));
    run.options.complianceSummary = "summary.html";
    const Exports exports = exportsOf(run.options, run.document, run.checkersRun);
    SCOPED_TRACE(exports.report["standard"]["flag"].get<std::string>());
    EXPECT_EQ(schema.errors(exports.report), std::vector<std::string>{});
    const json& summary = exports.report["complianceSummary"];
    ASSERT_EQ(summary["guidelines"].size(), size);
    for (std::size_t i = 0; i < size; ++i)
      EXPECT_EQ(summary["guidelines"][i]["id"], exports.report["guidelines"][i]["id"]);
    int total = 0;
    std::map<std::string, int> byCategory;
    std::map<std::string, std::map<std::string, int>> listed;
    for (const auto& entry : summary["guidelines"]) {
      ++byCategory[entry["category"].get<std::string>()];
      ++listed[entry["revisedCategory"].get<std::string>()][entry["compliance"].get<std::string>()];
    }
    for (const auto& [category, words] : summary["counts"].items())
      for (const auto& [word, count] : words.items()) {
        total += count.get<int>();
        EXPECT_EQ(count.get<int>(), listed[category][word]) << category << " " << word;
      }
    EXPECT_EQ(total, static_cast<int>(size));
    if (const auto found = categoryTotals.find(standard); found != categoryTotals.end()) {
      for (const auto& [category, count] : found->second) EXPECT_EQ(byCategory[category], count) << category;
    }
    // Without a plan nothing is Disapplied, and the Markdown summary gives the same table.
    EXPECT_EQ(summary["counts"]["Disapplied"]["Disapplied"], 0);
    EXPECT_NE(exports.markdown.find("## MISRA Compliance:2020\n\n**Verdict:** " + summary["verdict"].get<std::string>()),
              std::string::npos);
  }
}

}  // namespace
}  // namespace guidegate
