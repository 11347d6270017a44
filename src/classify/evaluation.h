// The evaluation of one run: every judgement the outputs show, made once.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "catalogues/coding_standard.h"
#include "classify/baseline.h"
#include "classify/files_summary.h"
#include "classify/guideline_findings.h"
#include "classify/guideline_status.h"
#include "classify/misra_compliance.h"
#include "classify/run_state.h"
#include "classify/run_warnings.h"
#include "classify/suppressions.h"
#include "classify/unmapped.h"
#include "input/checkers_report.h"
#include "input/files_list.h"
#include "input/input_digest.h"
#include "input/recategorization_plan.h"
#include "input/results_document.h"

namespace guidegate {

// What produced a run's outputs, recorded by the exports: the options of the run and
// what each input file held. Judges nothing.
struct Provenance {
  std::vector<std::string> arguments;          // the command line after the program name, as given
  std::optional<InputDigest> results;          // digests, when the run asked for them
  std::optional<InputDigest> checkersReport;   // --checkers-report=, if given
  std::optional<InputDigest> filesList;        // --files=, if given
  std::optional<InputDigest> baseline;         // --baseline=, if given
  std::optional<InputDigest> recategorizationPlan;  // --recategorization-plan=, if given
};

// What the exit status of a run says: whether the report is compliant (the default),
// whether nothing is new since the baseline (--gate=new), or whether the Guideline
// Compliance Summary is compliant (--gate=misra-compliance).
enum class Gate { Report, New, MisraCompliance };

// Everything a run has read, and the options that shape its judgement.
struct RunInputs {
  CodingStandard standard = CodingStandard::MisraC2023;
  const ResultsDocument& document;
  CheckersRun checkersReport;                   // as read from --checkers-report=, if given
  bool checkersReportGiven = false;
  std::optional<std::vector<FileEntry>> files;  // the --files= list, if given
  SuppressionSet suppressions;                  // --suppressions=
  std::optional<std::string> projectName;
  std::optional<std::string> projectVersion;
  std::time_t date = 0;                         // the moment the outputs show
  Provenance provenance = {};
  std::optional<BaselineFile> baseline;         // --baseline=, if given
  Gate gate = Gate::Report;                     // --gate=
  // The Guideline Compliance Summary is judged when it is asked for, a plan is given or
  // the gate is the summary's.
  bool complianceSummary = false;
  std::optional<std::vector<PlanEntry>> plan;   // --recategorization-plan=, if given
  std::string planPath;
  // Each guideline's findings one by one and by key are judged when an output lists
  // findings or a baseline is given: a run that writes only the report skips them.
  bool findingDetails = true;
};

// One catalogue row of the report as judged.
struct GuidelineEvaluation {
  Guideline guideline;                 // as the catalogue writes it
  std::string label;                   // as the report names it ("Rule 10.1", "EXP34")
  std::string category;                // MISRA C and C++: Mandatory, Required or Advisory
  GuidelineVerdict verdict;
  std::vector<ResultRecord> accepted;  // the remarked findings filed under the guideline's id
  // Its own findings one by one: those that count, then the accepted; with finding details.
  std::vector<GuidelineFinding> findings;
  std::string name;                        // as the CI outputs name it ("Rule 10.1", "CWE-787"); unique in a run
  std::vector<FindingKeyCount> findingCounts;  // by key, as a later run's baseline reads them; with finding details
  std::optional<GuidelineBaseline> baseline;   // compared with the baseline, when one was given
  // Its outcome as a test case: the verdict's; with a baseline, as the gate on new
  // violations judges: new violations fail it, else checks that ran in the baseline and
  // do not now error it; old violations pass and checks that never ran skip it.
  TestOutcome testOutcome() const;
};

// The run compared with its baseline, over all guidelines.
struct BaselineComparison {
  CountChange violations;
  CountChange accepted;
  int guidelinesWithNew = 0;  // guidelines with new violations
  int regressed = 0;          // guidelines whose checks ran in the baseline and do not now
  bool gated = false;         // --gate=new: the exit status says whether the run passes the gate
  // No new violations, no regressed guideline and no fatal analysis error.
  bool gatePassed = false;
};

// Why a run is not compliant; the evaluation lists every reason in the order the
// report states it.
struct VerdictReason {
  enum class Kind {
    ConfigurationNote,  // subject: the note
    FatalErrors,        // subject: the fatal ids, ", "-joined
    MisraConfig,        // misra-config is suppressed (MISRA C)
    Unmapped,           // subject: the first unmapped id
    Guideline,          // subject: the guideline's id; violated or not executed
  };
  Kind kind;
  std::string subject;
};

struct ComplianceEvaluation {
  CodingStandard standard = CodingStandard::MisraC2023;
  const ResultsDocument* document = nullptr;  // the findings that positions refer to; the run owns it
  std::optional<std::string> projectName;
  std::optional<std::string> projectVersion;
  std::time_t date = 0;
  Provenance provenance;

  std::vector<GuidelineEvaluation> guidelines;  // catalogue order
  std::vector<UnmappedCount> unmapped;          // error ids, then warning ids, each ascending; not for MISRA C
  std::optional<std::vector<FileRow>> files;    // when a files list was given
  std::vector<std::string> configurationNotes;
  std::vector<std::string> fatalErrorIds;       // ascending
  AcceptedViolations acceptedViolations;        // by guideline id
  SuppressedIds suppressedIds;                  // by guideline id, as the results file suppresses them
  bool misraConfigSuppressed = false;
  std::vector<std::string> diagnostics;         // internal errors met while judging, one line each
  // Inputs that most likely do not say what the user meant; they change no verdict.
  std::vector<RunWarning> warnings;

  std::optional<BaselineComparison> baseline;  // when a baseline was given
  // The run judged by MISRA Compliance:2020, when asked for (MISRA standards only).
  std::optional<ComplianceSummary> misraCompliance;
  Gate gate = Gate::Report;

  std::vector<VerdictReason> reasons;  // empty exactly when the run is compliant
  bool compliant() const { return reasons.empty(); }
  // What the exit status says: that the run passes the gate when one was asked for,
  // else that it is compliant.
  bool passes() const;
  // Whether the findings alone, before the configuration notes, leave the run
  // compliant: the colour of the report's tables shows this.
  bool compliantByFindings() const;
  // "Compliant with respect to ..." is said of a compliant run with suppressions or
  // accepted violations.
  bool withSuppressions() const { return compliant() && !suppressedIds.empty(); }
  bool withAcceptedViolations() const { return compliant() && !acceptedViolations.empty(); }
};

// Files the remarked findings of `verdict` under the guideline's id in `filed`, then
// lists in `verdict.acceptedIds` the distinct ids of everything filed under that id
// so far (a later row with the same id lists the earlier row's findings too).
void fileAcceptedFindings(const ResultsDocument& document, const Guideline& row, GuidelineVerdict& verdict,
                          AcceptedViolations& filed);

// Evaluates a run. Diagnostics are kept, not printed.
ComplianceEvaluation evaluateRun(const RunInputs& inputs);

// "Compliant", "Non compliant" or "Compliant with respect to suppressions and
// accepted violations", as plain text.
std::string resultText(const ComplianceEvaluation& evaluation);

}  // namespace guidegate
