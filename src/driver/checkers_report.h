// The analyzer's plain-text checkers report: which checks ran.
#pragma once

#include <string>
#include <string_view>

#include "classify/run_state.h"

namespace guidegate {

// The checker label and flag of one line, if the line is an entry: "Yes " or "No ",
// then the label up to two consecutive spaces.
bool parseCheckersReportLine(std::string_view line, std::string& label, bool& ran);

// Reads the checkers report at `path` into `checkersRun`, the last line naming a
// label deciding its flag. Returns false when the file cannot be opened.
bool readCheckersReport(const std::string& path, CheckersRun& checkersRun);

}  // namespace guidegate
