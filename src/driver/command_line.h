// The command line of a run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogues/coding_standard.h"
#include "classify/evaluation.h"
#include "classify/suppressions.h"

namespace guidegate {

struct RunOptions {
  CodingStandard standard = CodingStandard::MisraC2023;
  std::optional<std::string> checkersReport;
  std::optional<std::string> filesList;
  std::optional<std::string> outputFile;
  std::optional<std::string> projectName;
  std::optional<std::string> projectVersion;
  SuppressionSet suppressions;  // the ids every --suppressions= value names
  std::optional<std::string> resultsFile;
  std::optional<std::string> jsonOutput;       // --json-output=
  std::optional<std::string> markdownSummary;  // --markdown-summary=
  std::optional<std::string> sarifOutput;      // --sarif-output=
  std::optional<std::string> junitOutput;      // --junit-output=
  std::optional<std::string> codeQualityOutput;  // --code-quality-output=
  bool strict = false;                         // --strict: a warning makes the exit status non-zero
  std::optional<int> errorExitStatus;          // --error-exit-status=N: a failed run's status
  std::optional<std::string> baseline;         // --baseline=: the JSON report of an earlier run
  Gate gate = Gate::Report;                    // --gate=report|new|misra-compliance, the last one given
  std::optional<std::string> complianceSummary;     // --compliance-summary=: the Guideline Compliance Summary
  std::optional<std::string> recategorizationPlan;  // --recategorization-plan=: the project's plan
};

// The values --error-exit-status= takes.
inline constexpr int lowestErrorExitStatus = 2;
inline constexpr int highestErrorExitStatus = 125;

struct ParsedCommandLine {
  enum class Outcome {
    Run,
    Usage,
    UnknownOption,
    InvalidValue,
    InvalidGate,
    GateWithoutBaseline,
    MisraOnly,  // --compliance-summary= or --gate=misra-compliance for a standard that is not MISRA
    Help,
    Version
  };
  Outcome outcome = Outcome::Run;
  RunOptions options;         // as far as the parsing went
  std::string unknownOption;  // the argument that was not recognised
  std::string invalidValue;   // InvalidValue: the value of --error-exit-status= that is not 2..125;
                              // InvalidGate: the value of --gate= that is no gate
  std::string misraOnlyOption;  // MisraOnly: "--compliance-summary=" or "--gate=misra-compliance"
};

// Parses the arguments after the program name, left to right; the first unknown
// option, invalid --error-exit-status= or --gate= value, --help or --version ends the
// parsing. No argument at all, or no results file, asks for usage; then --gate=new
// without --baseline= is refused, and --compliance-summary= or --gate=misra-compliance
// for a standard that is not MISRA.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// "Syntax: <program> [--cert-c] ... <report.xml>\n"
std::string usageText(const std::string& programName);

// What --help prints.
std::string helpText(const std::string& programName);
// What --version prints: "guidegate <version>\n".
std::string versionText();

}  // namespace guidegate
