// The findings of one guideline, one by one, as the outputs that list findings show
// them (the JSON findings, SARIF, Code Quality, the JUnit failure texts).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "classify/guideline_status.h"
#include "input/results_document.h"

namespace guidegate {

// How gravely a finding weighs, from its analyzer severity: "error" and "warning"
// as they are, every other severity ("style", "performance", ...) as a note.
enum class FindingLevel { Error, Warning, Note };
FindingLevel findingLevel(std::string_view severity);

// One finding as one guideline judges it.
struct GuidelineFinding {
  std::uint32_t position = 0;  // in the document's results
  FindingLevel level = FindingLevel::Note;
  // Carries a remark: an accepted deviation, which does not count against the guideline.
  bool accepted = false;
  // Its id is among the guideline's suppressed ids (by --suppressions= or in the results
  // file). The verdict counts it all the same, unless it is accepted.
  bool idSuppressed = false;
  // How many findings before it, in this guideline's list, have the same id and the same
  // first file. With the standard, the guideline, the id and the file it tells findings
  // apart without line numbers, so a fingerprint made of them survives moved code.
  std::uint32_t occurrence = 0;
  // With a baseline: the finding is one more of its key than the baseline counted.
  bool newSinceBaseline = false;
};

// The findings of a judged guideline: those that count (the verdict's `findings`, in
// their order), then the accepted ones (`acceptedFindings`). Linear in their number.
std::vector<GuidelineFinding> guidelineFindings(const ResultsDocument& document, const GuidelineVerdict& verdict);

}  // namespace guidegate
