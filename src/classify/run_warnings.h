// What a run warns about: inputs it read without fault that still most likely do not
// say what the user meant, so that a report may say Compliant of findings it ignored.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "catalogues/coding_standard.h"
#include "classify/results_index.h"
#include "classify/suppressions.h"
#include "input/files_list.h"
#include "input/results_document.h"

namespace guidegate {

// One warning of a run. `code` names the kind for tools, `count` says how many things
// it concerns and `example` names one of them; `text` is the whole sentence for people
// (what standard error shows after "Warning: "), with the input texts as read.
struct RunWarning {
  std::string code;
  std::size_t count = 0;
  std::string example;
  std::string text;
  bool operator==(const RunWarning&) const = default;
};

// The root element is not named results ("root-not-results"; count 1, example the
// name), or the root has no errors element ("no-errors-element"; count 0, example the
// root's name).
std::vector<RunWarning> resultsShapeWarnings(const ResultsDocument& document);

// Findings that a run of `standard` counts nowhere while a guideline of another
// built-in standard maps their ids ("ids-of-another-standard"): count those findings,
// name the first such id (in the order first found) of the standard that maps the most
// of them (the first in codingStandards() order among equals) and its flag. The chosen
// standard counts the findings its guidelines map, and every error and warning when a
// guideline stands for all of them (MISRA C 1.3, MISRA C++ 4.1.3) or, outside MISRA C,
// in the Unmapped table. Of the other standards only the ids their guidelines name count.
std::optional<RunWarning> otherStandardWarning(CodingStandard standard, const ResultsIndex& results);

// Names of the files list that no finding's location names, while some location names
// a file the list does not ("files-without-findings"): count them, name the first in
// list order, preferring one that is "*" and a name findings do give (md5sum -b).
std::optional<RunWarning> filesListWarning(const ResultsIndex& results, const std::vector<FileEntry>& entries);

// --suppressions= ids that no guideline of `standard` maps, plainly or with the
// "solvane-" prefix, and that the run gives no other meaning (misra-config for MISRA C)
// ("unknown-suppressions"): count them, name the first in ascending order.
std::optional<RunWarning> suppressionsWarning(CodingStandard standard, const SuppressionSet& suppressions);

// Every warning of a run, in the order above.
std::vector<RunWarning> runWarnings(CodingStandard standard, const ResultsIndex& results,
                                    const std::optional<std::vector<FileEntry>>& files,
                                    const SuppressionSet& suppressions);

}  // namespace guidegate
