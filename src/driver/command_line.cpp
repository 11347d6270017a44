#include "driver/command_line.h"

#include <optional>
#include <string>
#include <string_view>

namespace guidegate {
namespace {

// Sets `target` to what follows `prefix` when `argument` begins with it.
bool takeValue(const std::string& argument, std::string_view prefix, std::optional<std::string>& target) {
  if (!argument.starts_with(prefix)) return false;
  target = argument.substr(prefix.size());
  return true;
}

// The exit status an --error-exit-status= value names: a decimal number from 2 to 125,
// digits only; nothing otherwise.
std::optional<int> errorExitStatusValue(std::string_view value) {
  if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  const int status = std::stoi(std::string(value));
  if (status < lowestErrorExitStatus || status > highestErrorExitStatus) return std::nullopt;
  return status;
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  if (arguments.empty()) {
    parsed.outcome = ParsedCommandLine::Outcome::Usage;
    return parsed;
  }
  RunOptions& options = parsed.options;
  for (const auto& argument : arguments) {
    if (argument == "--help" || argument == "--version") {
      parsed.outcome = argument == "--help" ? ParsedCommandLine::Outcome::Help : ParsedCommandLine::Outcome::Version;
      return parsed;
    }
    if (auto standard = standardForFlag(argument)) {
      options.standard = *standard;
    } else if (takeValue(argument, "--checkers-report=", options.checkersReport) ||
               takeValue(argument, "--files=", options.filesList) ||
               takeValue(argument, "--output-file=", options.outputFile) ||
               takeValue(argument, "--project-name=", options.projectName) ||
               takeValue(argument, "--project-version=", options.projectVersion) ||
               takeValue(argument, "--json-output=", options.jsonOutput) ||
               takeValue(argument, "--markdown-summary=", options.markdownSummary) ||
               takeValue(argument, "--sarif-output=", options.sarifOutput) ||
               takeValue(argument, "--junit-output=", options.junitOutput) ||
               takeValue(argument, "--code-quality-output=", options.codeQualityOutput) ||
               takeValue(argument, "--baseline=", options.baseline) ||
               takeValue(argument, "--compliance-summary=", options.complianceSummary) ||
               takeValue(argument, "--recategorization-plan=", options.recategorizationPlan)) {
    } else if (argument == "--strict") {
      options.strict = true;
    } else if (argument.starts_with("--error-exit-status=")) {
      const std::string value = argument.substr(std::string_view("--error-exit-status=").size());
      const auto status = errorExitStatusValue(value);
      if (!status) {
        parsed.outcome = ParsedCommandLine::Outcome::InvalidValue;
        parsed.invalidValue = value;
        return parsed;
      }
      options.errorExitStatus = status;
    } else if (argument.starts_with("--gate=")) {
      const std::string value = argument.substr(std::string_view("--gate=").size());
      if (value == "report") {
        options.gate = Gate::Report;
      } else if (value == "new") {
        options.gate = Gate::New;
      } else if (value == "misra-compliance") {
        options.gate = Gate::MisraCompliance;
      } else {
        parsed.outcome = ParsedCommandLine::Outcome::InvalidGate;
        parsed.invalidValue = value;
        return parsed;
      }
    } else if (argument.starts_with("--suppressions=")) {
      addSuppressions(options.suppressions, std::string_view(argument).substr(std::string_view("--suppressions=").size()));
    } else if (argument.starts_with("-")) {
      parsed.outcome = ParsedCommandLine::Outcome::UnknownOption;
      parsed.unknownOption = argument;
      return parsed;
    } else {
      options.resultsFile = argument;
    }
  }
  if (!options.resultsFile) {
    parsed.outcome = ParsedCommandLine::Outcome::Usage;
  } else if (options.gate == Gate::New && !options.baseline) {
    parsed.outcome = ParsedCommandLine::Outcome::GateWithoutBaseline;
  } else if (!misraStandard(options.standard) && (options.complianceSummary || options.gate == Gate::MisraCompliance)) {
    parsed.outcome = ParsedCommandLine::Outcome::MisraOnly;
    parsed.misraOnlyOption = options.complianceSummary ? "--compliance-summary=" : "--gate=misra-compliance";
  }
  return parsed;
}

std::string usageText(const std::string& programName) {
  return "Syntax: " + programName +
         " [--cert-c] [--cert-c++] [--cwe-top25] [--misra-c-2012] [--misra-c-2023] [--misra-c++-2008]"
         " [--misra-c++-2023] [--files=X] [--output-file=X] [--project-name=X] [--project-version=X]"
         " <report.xml>\n";
}

std::string helpText(const std::string& programName) {
  return "Usage: " + programName + R"( [STANDARD] [OPTION]... RESULTS.xml
Writes an HTML Compliance Report for one coding standard from Tarnwick's XML results.
The exit status is 0 when the report says Compliant, 1 otherwise or on any error.

Standards (one per run, the last one given wins):
  --cert-c, --cert-c-2016       CERT C 2016
  --cert-c++, --cert-c++-2016   CERT C++ 2016
  --misra-c-2012                MISRA C 2012
  --misra-c-2023                MISRA C 2023 (the default)
  --misra-c++-2008              MISRA C++ 2008
  --misra-c++-2023              MISRA C++ 2023
  --cwe-top25                   SANS CWE Top 25

Options:
  --checkers-report=FILE        Tarnwick's checkers report: which checks ran
  --files=FILE                  md5sum-style list of the project's files (adds a Files section)
  --output-file=FILE            where to write the report (default: the standard's file name)
  --project-name=NAME           project name shown in the report
  --project-version=VERSION     project version shown in the report
  --suppressions=ID[,ID...]     analyzer ids to treat as suppressed; may be repeated
  --json-output=FILE            also write the verdicts as a JSON document, with the run's
                                arguments and each input file's path, size and SHA-256
  --markdown-summary=FILE       also write a short Markdown summary (for pull requests), ending
                                with the version and the results file's SHA-256
  --sarif-output=FILE           also write the findings as SARIF 2.1.0 (for code scanning)
  --junit-output=FILE           also write JUnit XML, one test case per guideline (for test
                                report views)
  --code-quality-output=FILE    also write the counted findings as GitLab Code Quality JSON
  --strict                      make every warning (below) fail the run: exit status 1,
                                the outputs still written
  --error-exit-status=N         the exit status of a failed run instead of 1 (N from 2 to 125),
                                to tell a broken gate from a non-compliant project
  --baseline=FILE               compare with an earlier run: FILE is its --json-output= report,
                                of the same standard; the exports show what is new and fixed
  --gate=new                    with --baseline=: exit 0 unless there are new violations, a
                                guideline no longer executed or fatal analysis errors
  --gate=misra-compliance       exit 0 when the Guideline Compliance Summary (below) is
                                compliant; --gate=report, the default, follows the report
  --compliance-summary=FILE     MISRA standards only: also write the Guideline Compliance
                                Summary of MISRA Compliance:2020 as HTML: each guideline's
                                category, revised category and compliance, and the verdict
  --recategorization-plan=FILE  MISRA standards only: the project's Guideline
                                Re-categorization Plan, lines "GUIDELINE, CATEGORY"
  --help                        print this help and exit
  --version                     print the version and exit

Inputs:
  RESULTS.xml     Tarnwick's XML results (write them with --xml-version=3)
  checkers report text lines "Yes LABEL" or "No LABEL", the label ended by two spaces
  files list      md5sum output: checksum, blanks, file name
  plan            lines "Rule 10.4, Required" (the guideline as the report or the catalogue
                  names it; Mandatory, Required, Advisory or Disapplied); a plan may only
                  make a guideline stricter, or an Advisory one Disapplied; blank lines and
                  lines beginning with # are ignored

Warnings:
  After the report is written, inputs that most likely do not say what was meant are named on
  standard error in lines that begin with "Warning: ": findings only another standard counts, a
  files list that names no finding's file, unknown --suppressions= ids, a results file without an
  errors element or whose root is not results. They change neither the report nor the exit status,
  unless --strict is given.

Exit status:
  0  the report was written and says Compliant, or with --gate=new nothing is new since
     the baseline, or with --gate=misra-compliance the Guideline Compliance Summary is
     compliant; or --help or --version
  1  the report was written and says Non compliant (with --gate=new: there are new
     violations, a guideline no longer executed or fatal analysis errors; with
     --gate=misra-compliance: the summary is not compliant; or, with --strict, the run
     warned), or the run failed: usage, unknown option, unreadable or invalid input,
     baseline or recategorization plan, a MISRA-only option for another standard, an
     output that cannot be written, an output naming an input, two outputs naming the
     same file, an invalid SOURCE_DATE_EPOCH (message on standard error)
  N  a failed run, with --error-exit-status=N

Environment:
  SOURCE_DATE_EPOCH   when set, the report's Date shows this moment (seconds since 1970, UTC)

More in the manual page guidegate(1); the Debian package installs the README and the JSON
format with its schema in /usr/share/doc/guidegate.
)";
}

std::string versionText() { return std::string("guidegate ") + GUIDEGATE_VERSION + "\n"; }

}  // namespace guidegate
