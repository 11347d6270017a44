#include "driver/run.h"

#include <sys/stat.h>

#include <exception>

#include "input/checkers_report.h"
#include "driver/command_line.h"
#include "driver/compose_report.h"
#include "driver/exports.h"
#include "driver/report_document.h"
#include "driver/report_file.h"
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
    CheckersRun checkersRun;
    if (options.checkersReport) checkersRun = readCheckersReport(*options.checkersReport);
    const ResultsDocument document = loadResultsDocument(*options.resultsFile);
    for (const auto& checker : document.checkers) checkersRun[checker] = true;

    const bool exports = options.jsonOutput || options.markdownSummary;
    ReportModel model;
    const ComposedReport report =
        composeReport(options, document, checkersRun, reportDate(now), out, err, exports ? &model : nullptr);
    out.flush();  // the notes come before a report written to standard output
    writeReportFile(*options.outputFile, {report.head, report.sections, "<br>\n", report.body, reportEnd});
    if (exports) {
      const ExportInputs exportInputs{options, document, report, model, isoDate(now)};
      if (options.jsonOutput) writeReportFile(*options.jsonOutput, {jsonReport(exportInputs)});
      if (options.markdownSummary) writeReportFile(*options.markdownSummary, {markdownSummary(exportInputs)});
    }
    return report.state.compliant ? 0 : 1;
  } catch (const std::exception& error) {
    err << error.what() << "\n";
    return 1;
  }
}

}  // namespace guidegate
