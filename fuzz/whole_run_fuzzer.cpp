// One whole run composed in memory: the fuzz input holds a header line, the results
// file, and optionally the checkers report and the files list, separated by lines
// that read "%%". The header's first byte chooses the standard; the rest of the
// header becomes the project name, the project version and a --suppressions= value.
// The header digits 1 to 7 choose CERT C, CERT C++, MISRA C 2012, MISRA C 2023,
// MISRA C++ 2008, MISRA C++ 2023 and the CWE Top 25. Every output is rendered, and those
// for CI systems are parsed and counted.
#include <nlohmann/json.hpp>
#include <tinyxml2.h>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogues/coding_standard.h"
#include "catalogues/tables.h"
#include "classify/evaluation.h"
#include "driver/command_line.h"
#include "exports/exports.h"
#include "fuzz_support.h"
#include "html/compliance_summary.h"
#include "html/report_document.h"
#include "input/checkers_report.h"
#include "input/files_list.h"
#include "input/input_error.h"
#include "input/results_reader.h"

namespace {

using guidegate::fuzz::fail;

// The report's own tags and those that the built-in headlines carry.
guidegate::fuzz::TagNames knownTags() {
  guidegate::fuzz::TagNames known = guidegate::fuzz::reportTagNames();
  for (const auto* catalogue : {&guidegate::certCCatalogue, &guidegate::certCppCatalogue,
                                &guidegate::misraC2012Catalogue, &guidegate::misraC2023Catalogue,
                                &guidegate::misraCpp2008Catalogue, &guidegate::misraCpp2023Catalogue,
                                &guidegate::cweCatalogue})
    for (const auto& row : *catalogue) guidegate::fuzz::addTagNames(row.text, known);
  return known;
}

// Counts, while checking that a JSON text is well-formed, the objects held by the
// array at `depth` (1 for a top-level array) that is the value of `key` ("" for the
// top level), without building the document.
class ArrayObjects : public nlohmann::json::json_sax_t {
 public:
  ArrayObjects(std::string key, std::size_t depth) : key_(std::move(key)), depth_(depth) {}

  // The number of objects, or nothing when the text is not well-formed JSON.
  static std::optional<std::size_t> count(const std::string& text, std::string key, std::size_t depth) {
    ArrayObjects counter(std::move(key), depth);
    if (!nlohmann::json::sax_parse(text, &counter) || (depth == 1 && !counter.rootIsArray_)) return std::nullopt;
    return counter.objects_;
  }

  bool null() override { return value(); }
  bool boolean(bool) override { return value(); }
  bool number_integer(number_integer_t) override { return value(); }
  bool number_unsigned(number_unsigned_t) override { return value(); }
  bool number_float(number_float_t, const string_t&) override { return value(); }
  bool string(string_t&) override { return value(); }
  bool binary(binary_t&) override { return value(); }
  bool start_object(std::size_t) override {
    if (!open_.empty() && open_.back().array && open_.size() == depth_ && open_.back().key == key_) ++objects_;
    open_.push_back({false, take()});
    return true;
  }
  bool key(string_t& name) override {
    key_seen_ = name;
    return true;
  }
  bool end_object() override { return close(); }
  bool start_array(std::size_t) override {
    if (open_.empty()) rootIsArray_ = true;
    open_.push_back({true, take()});
    return true;
  }
  bool end_array() override { return close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::json::exception&) override { return false; }

 private:
  struct Open {
    bool array;
    std::string key;
  };
  bool value() {
    key_seen_.clear();
    return true;
  }
  bool close() {
    open_.pop_back();
    key_seen_.clear();
    return true;
  }
  std::string take() { return std::exchange(key_seen_, std::string()); }

  std::string key_;
  std::size_t depth_;
  std::string key_seen_;
  std::vector<Open> open_;
  std::size_t objects_ = 0;
  bool rootIsArray_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const guidegate::fuzz::ScratchFile resultsFile("run-results.xml");
  static const guidegate::fuzz::ScratchFile checkersFile("run-checkers.txt");
  static const guidegate::fuzz::ScratchFile filesFile("run-files.md5");
  static const guidegate::fuzz::TagNames tags = knownTags();
  static const guidegate::fuzz::TagNames summaryTags = [] {
    guidegate::fuzz::TagNames known = knownTags();
    known.insert({"p", "ul", "li"});  // the compliance summary's paragraphs and lists of reasons
    return known;
  }();

  std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto newline = text.find('\n');
  if (newline == std::string_view::npos) return 0;
  const std::string_view header = text.substr(0, newline);
  text.remove_prefix(newline + 1);

  const auto& standards = guidegate::codingStandards();
  guidegate::RunOptions options;
  if (!header.empty()) {
    options.standard = standards[static_cast<unsigned char>(header.front()) % standards.size()].standard;
    const std::string rest(header.substr(1));
    options.projectName = rest;
    options.projectVersion = rest;
    guidegate::addSuppressions(options.suppressions, rest);
  }

  const auto pieces = guidegate::fuzz::sections(text, 3);
  options.resultsFile = resultsFile.write(pieces[0]);
  guidegate::CheckersRun checkersRun;
  if (pieces.size() > 1) {
    options.checkersReport = checkersFile.write(pieces[1]);
    checkersRun = guidegate::readCheckersReport(*options.checkersReport);
  }
  if (pieces.size() > 2) options.filesList = filesFile.write(pieces[2]);
  options.outputFile = "unused.html";

  try {
    const guidegate::ResultsDocument document = guidegate::loadResultsDocument(*options.resultsFile);
    std::optional<std::vector<guidegate::FileEntry>> files;
    if (options.filesList) files = guidegate::readFilesList(*options.filesList);
    const guidegate::ComplianceEvaluation evaluation =
        guidegate::evaluateRun({.standard = options.standard,
                                .document = document,
                                .checkersReport = checkersRun,
                                .checkersReportGiven = options.checkersReport.has_value(),
                                .files = std::move(files),
                                .suppressions = options.suppressions,
                                .projectName = options.projectName,
                                .projectVersion = options.projectVersion,
                                .date = 1796652180,
                                .complianceSummary = true});
    const std::string html = guidegate::renderHtmlReport(evaluation);
    if (!html.starts_with("<html><head><meta charset=\"utf-8\"><title>") || !html.ends_with(guidegate::reportEnd))
      fail("a report that is not whole");
    guidegate::fuzz::checkMarkup(html, tags);
    const bool saysCompliant = html.find("Result: <font color=\"green\">Compliant") != std::string::npos;
    if (saysCompliant != evaluation.compliant()) fail("a result line that disagrees with the verdict");
    if (evaluation.compliant() != evaluation.reasons.empty()) fail("a verdict without its reasons");
    if (evaluation.misraCompliance) {
      const std::string summary = guidegate::renderComplianceSummary(evaluation);
      if (!summary.starts_with("<html><head><meta charset=\"utf-8\"><title>")) fail("a compliance summary that is not whole");
      guidegate::fuzz::checkMarkup(summary, summaryTags);
      std::size_t rows = 0;
      for (const auto& byWord : evaluation.misraCompliance->counts)
        for (const int count : byWord) rows += static_cast<std::size_t>(count);
      if (rows != evaluation.misraCompliance->rows.size()) fail("compliance counts that do not add up to the rows");
    }
    if (!nlohmann::json::accept(guidegate::jsonReport(evaluation)))
      fail("a JSON report that does not parse");
    // The summary writes no markup of its own: every '<', '[' and '`' is an input or a
    // headline character, which must come out escaped.
    const std::string markdown = guidegate::markdownSummary(evaluation);
    for (std::size_t at = 0; at < markdown.size(); ++at)
      if ((markdown[at] == '<' || markdown[at] == '[' || markdown[at] == '`') && (at == 0 || markdown[at - 1] != '\\'))
        fail("a Markdown summary with an unescaped '<', '[' or '`'");

    // The outputs for CI systems: well-formed, and each finding of each guideline in them.
    std::size_t findings = 0;
    for (const auto& judged : evaluation.guidelines) findings += judged.findings.size();
    // The results array of the only run: the root object, "runs", its run, "results".
    const auto sarifResults = ArrayObjects::count(guidegate::sarifReport(evaluation), "results", 4);
    if (!sarifResults) fail("a SARIF output that does not parse");
    if (*sarifResults != findings) fail("SARIF results that are not the findings");

    const std::string junit = guidegate::junitReport(evaluation);
    tinyxml2::XMLDocument junitDocument;
    if (junitDocument.Parse(junit.data(), junit.size()) != tinyxml2::XML_SUCCESS) fail("a JUnit output that does not parse");
    const tinyxml2::XMLElement* suite = junitDocument.RootElement()->FirstChildElement("testsuite");
    std::size_t testCases = 0;
    for (auto* test = suite ? suite->FirstChildElement("testcase") : nullptr; test; test = test->NextSiblingElement("testcase"))
      ++testCases;
    if (testCases != evaluation.guidelines.size()) fail("JUnit test cases that are not the guidelines");
    // Only its own elements: an input text that made one would have escaped its escaping.
    const auto ownElement = [](std::string_view name) {
      for (const std::string_view own : {"testsuites", "testsuite", "properties", "property", "testcase", "failure",
                                         "error", "skipped", "system-out"})
        if (name == own) return true;
      return false;
    };
    std::vector<const tinyxml2::XMLElement*> pending{junitDocument.RootElement()};
    while (!pending.empty()) {
      const tinyxml2::XMLElement* element = pending.back();
      pending.pop_back();
      if (!ownElement(element->Name())) fail("a JUnit element that an input text made");
      for (auto* child = element->FirstChildElement(); child; child = child->NextSiblingElement()) pending.push_back(child);
    }

    std::size_t counted = 0;
    for (const auto& judged : evaluation.guidelines)
      for (const auto& finding : judged.findings) counted += finding.accepted ? 0 : 1;
    const auto issues = ArrayObjects::count(guidegate::codeQualityReport(evaluation), "", 1);
    if (!issues || *issues != counted)
      fail("Code Quality issues that are not the counted findings");
  } catch (const std::runtime_error& error) {
    const std::string message = error.what();
    const std::string& path = *options.resultsFile;
    if (message != "Invalid XML data in file:" + path && message != "Invalid file:" + path)
      fail(("an unexpected error: " + message).c_str());
  }
  return 0;
}
