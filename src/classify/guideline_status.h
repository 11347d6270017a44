// The compliance judgement of one guideline, and the cell text that shows it.
#pragma once

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "catalogues/guideline.h"
#include "classify/results_index.h"
#include "classify/run_state.h"

namespace guidegate {

// What the judgement of every guideline of a run reads.
struct ClassificationInputs {
  const ResultsIndex& results;
  const CheckersRun& checkersRun;
  const std::string& suppressionList;
  const std::set<std::string>& notImplemented;
  std::ostream& diagnostics;  // receives "Internal error: id ... missing mapping"
};

struct IdCount {
  std::string id;
  int count = 0;
};

enum class Execution {
  Ran,
  NotImplemented,       // no checks exist for the guideline
  NotExecutedTolerated, // not executed, shown plainly, verdict untouched (INT35)
  NotExecuted,          // not executed, shown in red, verdict cleared
};

// The judgement of one guideline, from which every rendering is made.
struct GuidelineVerdict {
  // Guidelines mapped to "error" stand for every finding and are judged by severity.
  bool judgedBySeverity = false;
  int errorCount = 0;
  int warningCount = 0;

  std::vector<IdCount> violations;          // ids as counted, positive counts, in order
  std::vector<std::string> acceptedIds;     // distinct ids of the accepted findings, first seen first
  std::string suppressedByOption;           // ", "-joined
  std::string suppressedInResults;          // ", "-joined
  Execution execution = Execution::Ran;

  bool violated() const { return judgedBySeverity ? errorCount > 0 || warningCount > 0 : !violations.empty(); }
};

// Judges `row`: clears `compliant` when the guideline is violated or not executed,
// files its remarked findings into acceptedViolations[row.id] and records the ids
// the results file suppresses in suppressedIds[row.id].
GuidelineVerdict judgeGuideline(const Guideline& row, const ClassificationInputs& inputs, bool& compliant,
                                AcceptedViolations& acceptedViolations, SuppressedIds& suppressedIds);

// The HTML text of the compliance cell; ids are escaped.
std::string statusCell(const GuidelineVerdict& verdict);

// judgeGuideline and statusCell in one.
std::string guidelineStatus(const Guideline& row, const ClassificationInputs& inputs, bool& compliant,
                            AcceptedViolations& acceptedViolations, SuppressedIds& suppressedIds);

}  // namespace guidegate
