// The keys of findings, and a run compared with a baseline: the JSON report of an
// earlier run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "classify/guideline_findings.h"
#include "input/baseline_file.h"
#include "input/results_document.h"

namespace guidegate {

// The findings of one guideline that share a key: the analyzer id and the file of the
// first location, a leading "./" removed (empty for a finding without a location). Line
// numbers take no part, so edits that move code do not change a finding's key.
struct FindingKeyCount {
  std::string id;
  std::string file;
  int count = 0;     // findings that count against the guideline
  int accepted = 0;  // findings accepted by a remark
};

// The file part of the key of `record`.
std::string_view keyFile(const ResultRecord& record);

// The counts of `findings` by key, one entry per distinct key, ordered by id, then file
// (byte-wise).
std::vector<FindingKeyCount> findingKeyCounts(const ResultsDocument& document,
                                              const std::vector<GuidelineFinding>& findings);

// How the findings of one kind changed since the baseline, summed over the keys: `added`
// the increases, `fixed` the decreases, `outstanding` the findings present in both.
struct CountChange {
  int added = 0;
  int fixed = 0;
  int outstanding = 0;
  CountChange& operator+=(const CountChange& other);
};

// One guideline as compared with the baseline.
struct GuidelineBaseline {
  CountChange violations;  // the findings that count against it
  CountChange accepted;    // its accepted findings: they are never new violations
  bool regressed = false;  // its checks ran in the baseline and do not run now
  // The keys with fewer findings than in the baseline: by how many, of each kind.
  std::vector<FindingKeyCount> fixed;
};

// Compares a guideline, its findings counted by key in `now`, with its entry `before` of
// the baseline (nullptr when the baseline has none: every finding is new). Marks the new
// findings in `findings`: of each key and kind, the findings after the first as many as
// the baseline counted, in the guideline's order.
GuidelineBaseline compareWithBaseline(const ResultsDocument& document, const std::vector<FindingKeyCount>& now,
                                      const BaselineGuideline* before, bool executedNow,
                                      std::vector<GuidelineFinding>& findings);

}  // namespace guidegate
