#include "driver/run.h"

#include <sys/stat.h>

#include <exception>
#include <new>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "classify/evaluation.h"
#include "driver/command_line.h"
#include "driver/report_file.h"
#include "exports/exports.h"
#include "html/compliance_summary.h"
#include "html/report_document.h"
#include "input/baseline_file.h"
#include "input/checkers_report.h"
#include "input/files_list.h"
#include "input/recategorization_plan.h"
#include "input/results_reader.h"

namespace guidegate {
namespace {

// The first output path that names the same file as one of the inputs (the same
// device and inode, however the two paths are spelled), or nothing. Only paths that
// name existing files are compared.
const std::string* outputNamingAnInput(const RunOptions& options) {
  std::vector<struct stat> inputs;
  for (const auto* input : {&options.resultsFile, &options.checkersReport, &options.filesList, &options.baseline,
                            &options.recategorizationPlan}) {
    struct stat info {};
    if (*input && ::stat((*input)->c_str(), &info) == 0) inputs.push_back(info);
  }
  for (const auto* output :
       {&options.outputFile, &options.jsonOutput, &options.markdownSummary, &options.sarifOutput,
        &options.junitOutput, &options.codeQualityOutput, &options.complianceSummary}) {
    struct stat info {};
    if (!*output || ::stat((*output)->c_str(), &info) != 0) continue;
    for (const auto& input : inputs)
      if (input.st_dev == info.st_dev && input.st_ino == info.st_ino) return &**output;
  }
  return nullptr;
}

// The outputs a run writes, in the order it writes them.
std::vector<const std::string*> outputPaths(const RunOptions& options) {
  std::vector<const std::string*> paths;
  for (const auto* output : {&options.outputFile, &options.jsonOutput, &options.markdownSummary, &options.sarifOutput,
        &options.junitOutput, &options.codeQualityOutput, &options.complianceSummary})
    if (*output) paths.push_back(&**output);
  return paths;
}

// The file `path` names, as the writer reaches it: made absolute, a symbolic link in
// its last part followed (also one whose target does not exist yet), then resolved as
// far as it exists (".", "..", links in its directories).
std::filesystem::path resolvedPath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path resolved = fs::absolute(path, error);
  for (int links = 0; links < 40 && fs::is_symlink(fs::symlink_status(resolved, error)); ++links) {
    const fs::path target = fs::read_symlink(resolved, error);
    if (error) break;
    resolved = target.is_absolute() ? target : resolved.parent_path() / target;
  }
  fs::path canonical = fs::weakly_canonical(resolved, error);
  return error ? resolved.lexically_normal() : canonical;
}

// The first output path that names the same file as an earlier one: the same path once
// resolved, or the same device and inode when both exist. Empty paths name no file and
// are left to the writer.
const std::string* outputNamedTwice(const RunOptions& options) {
  struct Named {
    std::filesystem::path resolved;
    std::optional<std::pair<dev_t, ino_t>> file;
  };
  std::vector<Named> earlier;
  for (const std::string* output : outputPaths(options)) {
    if (output->empty()) continue;
    Named named{resolvedPath(*output), std::nullopt};
    struct stat info {};
    if (::stat(output->c_str(), &info) == 0) named.file = std::make_pair(info.st_dev, info.st_ino);
    for (const auto& before : earlier)
      if (before.resolved == named.resolved || (before.file && before.file == named.file)) return output;
    earlier.push_back(std::move(named));
  }
  return nullptr;
}

// How a run ended, before its exit status is decided.
enum class RunEnd {
  Informed,      // --help or --version
  Compliant,     // the outputs were written and say Compliant
  NonCompliant,  // ... Non compliant
  Failed,        // usage, unknown option, an input that cannot be read or is invalid, an output not written
};

// The exit status of a run that ended so, the one place that decides it: 0 for a
// compliant run (1 with --strict when it warned) and for --help and --version, 1 for a
// non-compliant run, and for a failed run 1 or the --error-exit-status= value. With
// --gate=new or --gate=misra-compliance, a run that passes the gate ends as a compliant one,
// else as a non-compliant one.
int exitStatus(RunEnd end, const RunOptions& options, bool warned = false) {
  switch (end) {
    case RunEnd::Informed: return 0;
    case RunEnd::Compliant: return options.strict && warned ? 1 : 0;
    case RunEnd::NonCompliant: return 1;
    case RunEnd::Failed: return options.errorExitStatus.value_or(1);
  }
  return 1;
}

// `text` as one line of standard error: control characters that could end the line or
// move the cursor are written as \n, \r or \xHH.
std::string oneLine(const std::string& text) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string line;
  line.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
      line += "\\x";
      line += hex[byte >> 4];
      line += hex[byte & 0xf];
    } else {
      line += c;
    }
  }
  return line;
}

}  // namespace

std::optional<std::time_t> parseSourceDateEpoch(const std::string& value) {
  if (value.empty() || value.size() > 18 || value.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const std::time_t moment = static_cast<std::time_t>(std::stoll(value));
  if (moment > latestSourceDateEpoch || reportDate(moment).empty()) return std::nullopt;
  return moment;
}

int runGuidegate(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const RunEnvironment& environment) {
  const std::string programName = arguments.empty() ? "guidegate" : arguments.front();
  const ParsedCommandLine parsed =
      parseCommandLine(arguments.empty() ? arguments : std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  const RunOptions& given = parsed.options;  // as far as the parsing went
  if (parsed.outcome == ParsedCommandLine::Outcome::UnknownOption) {
    err << "Unknown option " << parsed.unknownOption << "\n";
    return exitStatus(RunEnd::Failed, given);
  }
  if (parsed.outcome == ParsedCommandLine::Outcome::InvalidValue) {
    err << "Invalid --error-exit-status:" << parsed.invalidValue << " (N must be a number from "
        << lowestErrorExitStatus << " to " << highestErrorExitStatus << ")\n";
    return exitStatus(RunEnd::Failed, given);
  }
  if (parsed.outcome == ParsedCommandLine::Outcome::InvalidGate) {
    err << "Invalid --gate:" << parsed.invalidValue << " (the gates are report, new and misra-compliance)\n";
    return exitStatus(RunEnd::Failed, given);
  }
  if (parsed.outcome == ParsedCommandLine::Outcome::GateWithoutBaseline) {
    err << "Option --gate=new needs --baseline=FILE\n";
    return exitStatus(RunEnd::Failed, given);
  }
  if (parsed.outcome == ParsedCommandLine::Outcome::MisraOnly) {
    err << "Option " << parsed.misraOnlyOption << " needs a MISRA standard (--misra-c-2012, --misra-c-2023,"
        << " --misra-c++-2008 or --misra-c++-2023), not " << standardInfo(given.standard).guidelinesName << "\n";
    return exitStatus(RunEnd::Failed, given);
  }
  if (parsed.outcome == ParsedCommandLine::Outcome::Usage) {
    err << usageText(programName);
    return exitStatus(RunEnd::Failed, given);
  }
  if (parsed.outcome == ParsedCommandLine::Outcome::Help) {
    out << helpText(programName);
    return exitStatus(RunEnd::Informed, given);
  }
  if (parsed.outcome == ParsedCommandLine::Outcome::Version) {
    out << versionText();
    return exitStatus(RunEnd::Informed, given);
  }

  std::time_t now = environment.now;
  if (environment.sourceDateEpoch) {
    const auto moment = parseSourceDateEpoch(*environment.sourceDateEpoch);
    if (!moment) {
      err << "Invalid SOURCE_DATE_EPOCH:" << *environment.sourceDateEpoch << "\n";
      return exitStatus(RunEnd::Failed, given);
    }
    now = *moment;
  }

  RunOptions options = parsed.options;
  if (!options.outputFile) options.outputFile = std::string(standardInfo(options.standard).defaultOutputFile);
  if (const std::string* output = outputNamedTwice(options)) {
    err << "Output file named twice:" << *output << "\n";
    return exitStatus(RunEnd::Failed, options);
  }
  if (const std::string* output = outputNamingAnInput(options)) {
    err << "Output file is an input file:" << *output << "\n";
    return exitStatus(RunEnd::Failed, options);
  }

  // What the run is doing, for the message when memory runs out; a plain text that
  // needs no memory to be kept.
  const std::string* reading = nullptr;
  const char* doing = "reading file:";
  try {
    // Every input is read once, before anything is judged: the checkers report, the
    // results file, the files list. The exports record what each of them held.
    const Digest digest = options.jsonOutput || options.markdownSummary ? Digest::Sha256 : Digest::Skip;
    Provenance provenance;
    provenance.arguments.assign(arguments.begin() + 1, arguments.end());
    ReadInput<CheckersRun> checkersReport;
    if (options.checkersReport) {
      reading = &*options.checkersReport;
      checkersReport = readCheckersReportInput(*options.checkersReport, digest);
    }
    reading = &*options.resultsFile;
    const ReadInput<ResultsDocument> results = loadResultsInput(*options.resultsFile, digest);
    ReadInput<std::vector<FileEntry>> files;
    if (options.filesList) {
      reading = &*options.filesList;
      files = readFilesListInput(*options.filesList, digest);
    }
    ReadInput<BaselineFile> baseline;
    if (options.baseline) {
      reading = &*options.baseline;
      baseline = readBaselineInput(*options.baseline, standardInfo(options.standard).flags.front(), digest);
    }
    ReadInput<std::vector<PlanEntry>> plan;
    if (options.recategorizationPlan) {
      reading = &*options.recategorizationPlan;
      plan = readRecategorizationPlanInput(*options.recategorizationPlan, digest);
    }
    provenance.results = results.digest;
    provenance.checkersReport = std::move(checkersReport.digest);
    provenance.filesList = std::move(files.digest);
    provenance.baseline = std::move(baseline.digest);
    provenance.recategorizationPlan = std::move(plan.digest);

    reading = nullptr;
    doing = "evaluating the results";
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
                     .provenance = std::move(provenance),
                     .baseline = options.baseline ? std::make_optional(std::move(baseline.content)) : std::nullopt,
                     .gate = options.gate,
                     .complianceSummary = options.complianceSummary || options.gate == Gate::MisraCompliance,
                     .plan = options.recategorizationPlan ? std::make_optional(std::move(plan.content)) : std::nullopt,
                     .planPath = options.recategorizationPlan.value_or(""),
                     .findingDetails = options.jsonOutput || options.markdownSummary || options.sarifOutput ||
                                       options.junitOutput || options.codeQualityOutput});

    // Every output is rendered before any is written, and then all are written or none.
    doing = "writing the outputs";
    std::vector<OutputDocument> documents;
    documents.push_back({*options.outputFile, renderHtmlReport(evaluation)});
    if (options.jsonOutput) documents.push_back({*options.jsonOutput, jsonReport(evaluation)});
    if (options.markdownSummary) documents.push_back({*options.markdownSummary, markdownSummary(evaluation)});
    if (options.sarifOutput) documents.push_back({*options.sarifOutput, sarifReport(evaluation)});
    if (options.junitOutput) documents.push_back({*options.junitOutput, junitReport(evaluation)});
    if (options.codeQualityOutput) documents.push_back({*options.codeQualityOutput, codeQualityReport(evaluation)});
    if (options.complianceSummary)
      documents.push_back({*options.complianceSummary, renderComplianceSummary(evaluation)});

    for (const auto& line : evaluation.diagnostics) err << line << "\n";
    if (!options.projectName) out << "Configuration: --project-name has not been provided\n";
    if (!options.projectVersion) out << "Configuration: --project-version has not been provided\n";
    out.flush();  // the notes come before a report written to standard output

    writeOutputFiles(documents);
    for (const auto& warning : evaluation.warnings) err << "Warning: " << oneLine(warning.text) << "\n";
    return exitStatus(evaluation.passes() ? RunEnd::Compliant : RunEnd::NonCompliant, options,
                      !evaluation.warnings.empty());
  } catch (const std::bad_alloc&) {
    err << "Out of memory while " << doing;
    if (reading) err << *reading;
    err << "\n";
    return exitStatus(RunEnd::Failed, options);
  } catch (const std::exception& error) {
    err << error.what() << "\n";
    return exitStatus(RunEnd::Failed, options);
  }
}

}  // namespace guidegate
