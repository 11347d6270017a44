// The compliance judgement of one guideline.
#pragma once

#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "catalogues/guideline.h"
#include "classify/results_index.h"
#include "classify/run_state.h"
#include "classify/suppressions.h"

namespace guidegate {

// What the judgement of every guideline of a run reads.
struct ClassificationInputs {
  const ResultsIndex& results;
  const CheckersRun& checkersRun;
  const SuppressionSet& suppressions;
  const std::set<std::string>& notImplemented;
  std::ostream& diagnostics;  // receives "Internal error: id ... missing mapping"
};

struct IdCount {
  std::string id;
  int count = 0;
};

enum class Execution {
  Ran,
  NotImplemented,        // no checks exist for the guideline
  NotExecutedTolerated,  // not executed, shown plainly, verdict untouched (INT35)
  NotExecuted,           // not executed, shown in red, verdict cleared
};

// The one status word of a guideline, as every output names it.
enum class GuidelineStatus { Compliant, Violations, AcceptedViolations, Suppressed, NotExecuted, NotImplemented };

// How a guideline stands as one test of the run, for the outputs that show each guideline
// as a test case: it fails when violated, errs when it was not executed and that clears the
// verdict, is skipped when it was not examined without that clearing the verdict (not
// implemented, or not executed and tolerated), and passes otherwise (compliant, accepted
// violations, suppressed).
enum class TestOutcome { Passed, Failed, Errored, Skipped };

// The judgement of one guideline, from which every rendering is made.
struct GuidelineVerdict {
  // Guidelines mapped to "error" stand for every finding and are judged by severity.
  bool judgedBySeverity = false;
  int errorCount = 0;
  int warningCount = 0;

  std::vector<IdCount> violations;                 // ids as counted, positive counts, in order
  // Positions of the counted findings, id by id; for a guideline judged by severity
  // every "error" and "warning" finding, in document order.
  std::vector<std::uint32_t> findings;
  std::vector<std::uint32_t> acceptedFindings;     // positions of its remarked findings, id by id
  std::vector<std::string> acceptedIds;            // distinct ids of the accepted findings, first seen first
  std::vector<std::string> suppressedByOption;     // mapped ids that --suppressions= names
  std::vector<std::string> suppressedInResults;    // mapped ids the results file suppresses
  Execution execution = Execution::Ran;

  bool violated() const { return judgedBySeverity ? errorCount > 0 || warningCount > 0 : !violations.empty(); }
  // Whether the guideline makes the run non-compliant.
  bool clearsVerdict() const { return violated() || execution == Execution::NotExecuted; }
  GuidelineStatus status() const;
  TestOutcome testOutcome() const;
};

// Judges `row`: counts its findings, notes its accepted findings and suppressed ids
// and whether its checks ran. `acceptedIds` is left to the evaluation of the run,
// which files accepted findings by guideline id across rows.
GuidelineVerdict guidelineStatus(const Guideline& row, const ClassificationInputs& inputs);

// compliant, violations, accepted-violations, suppressed, not-executed or not-implemented.
const char* statusName(GuidelineStatus status);

}  // namespace guidegate
