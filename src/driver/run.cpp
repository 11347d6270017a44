#include "driver/run.h"

#include <sys/stat.h>

#include <exception>

#include "classify/evaluation.h"
#include "driver/command_line.h"
#include "driver/report_file.h"
#include "exports/exports.h"
#include "html/report_document.h"
#include "input/checkers_report.h"
#include "input/files_list.h"
#include "input/results_reader.h"

namespace guidegate {
namespace {

// The first output path that names the same file as one of the inputs (the same
// device and inode, however the two paths are spelled), or nothing. Only paths that
// name existing files are compared.
const std::string* outputNamingAnInput(const RunOptions& options) {
  std::vector<struct stat> inputs;
  for (const auto* input : {&options.resultsFile, &options.checkersReport, &options.filesList}) {
    struct stat info {};
    if (*input && ::stat((*input)->c_str(), &info) == 0) inputs.push_back(info);
  }
  for (const auto* output : {&options.outputFile, &options.jsonOutput, &options.markdownSummary}) {
    struct stat info {};
    if (!*output || ::stat((*output)->c_str(), &info) != 0) continue;
    for (const auto& input : inputs)
      if (input.st_dev == info.st_dev && input.st_ino == info.st_ino) return &**output;
  }
  return nullptr;
}

}  // namespace

std::optional<std::time_t> parseSourceDateEpoch(const std::string& value) {
  if (value.empty() || value.size() > 18 || value.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const std::time_t moment = static_cast<std::time_t>(std::stoll(value));
  if (reportDate(moment).empty()) return std::nullopt;
  return moment;
}

int runGuidegate(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const RunEnvironment& environment) {
  const std::string programName = arguments.empty() ? "guidegate" : arguments.front();
  const ParsedCommandLine parsed =
      parseCommandLine(arguments.empty() ? arguments : std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  if (parsed.outcome == ParsedCommandLine::Outcome::UnknownOption) {
    err << "Unknown option " << parsed.unknownOption << "\n";
    return 1;
  }
  if (parsed.outcome == ParsedCommandLine::Outcome::Usage) {
    err << usageText(programName);
    return 1;
  }
  if (parsed.outcome == ParsedCommandLine::Outcome::Help) {
    out << helpText(programName);
    return 0;
  }
  if (parsed.outcome == ParsedCommandLine::Outcome::Version) {
    out << versionText();
    return 0;
  }

  std::time_t now = environment.now;
  if (environment.sourceDateEpoch) {
    const auto moment = parseSourceDateEpoch(*environment.sourceDateEpoch);
    if (!moment) {
      err << "Invalid SOURCE_DATE_EPOCH:" << *environment.sourceDateEpoch << "\n";
      return 1;
    }
    now = *moment;
  }

  RunOptions options = parsed.options;
  if (!options.outputFile) options.outputFile = std::string(standardInfo(options.standard).defaultOutputFile);
  if (const std::string* output = outputNamingAnInput(options)) {
    err << "Output file is an input file:" << *output << "\n";
    return 1;
  }

  try {
    // Every input is read once, before anything is judged: the checkers report, the
    // results file, the files list. The exports record what each of them held.
    const Digest digest = options.jsonOutput || options.markdownSummary ? Digest::Sha256 : Digest::Skip;
    Provenance provenance;
    provenance.arguments.assign(arguments.begin() + 1, arguments.end());
    ReadInput<CheckersRun> checkersReport;
    if (options.checkersReport) checkersReport = readCheckersReportInput(*options.checkersReport, digest);
    const ReadInput<ResultsDocument> results = loadResultsInput(*options.resultsFile, digest);
    ReadInput<std::vector<FileEntry>> files;
    if (options.filesList) files = readFilesListInput(*options.filesList, digest);
    provenance.results = results.digest;
    provenance.checkersReport = std::move(checkersReport.digest);
    provenance.filesList = std::move(files.digest);

    const ComplianceEvaluation evaluation =
        evaluateRun({.standard = options.standard,
                     .document = results.content,
                     .checkersReport = std::move(checkersReport.content),
                     .checkersReportGiven = options.checkersReport.has_value(),
                     .files = options.filesList ? std::make_optional(std::move(files.content)) : std::nullopt,
                     .suppressions = options.suppressions,
                     .projectName = options.projectName,
                     .projectVersion = options.projectVersion,
                     .date = now,
                     .provenance = std::move(provenance)});
    for (const auto& line : evaluation.diagnostics) err << line << "\n";
    if (!options.projectName) out << "Configuration: --project-name has not been provided\n";
    if (!options.projectVersion) out << "Configuration: --project-version has not been provided\n";
    out.flush();  // the notes come before a report written to standard output

    writeReportFile(*options.outputFile, {renderHtmlReport(evaluation)});
    if (options.jsonOutput) writeReportFile(*options.jsonOutput, {jsonReport(evaluation)});
    if (options.markdownSummary) writeReportFile(*options.markdownSummary, {markdownSummary(evaluation)});
    return evaluation.compliant() ? 0 : 1;
  } catch (const std::exception& error) {
    err << error.what() << "\n";
    return 1;
  }
}

}  // namespace guidegate
