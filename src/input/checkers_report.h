// The analyzer's plain-text checkers report: which checks ran.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "input/input_digest.h"

namespace guidegate {

// Checker label to whether the check ran.
using CheckersRun = std::map<std::string, bool>;

// The checker label and flag of one line, if the line is an entry: "Yes " or "No ",
// then the label up to two consecutive spaces.
bool parseCheckersReportLine(std::string_view line, std::string& label, bool& ran);

// The checkers report at `path`, the last line naming a label deciding its flag.
// Throws InputError("Configuration: --checkers-report file not found") when the file
// cannot be opened or is a directory, InputError("Failed to open file:" + path) when it
// is a device or a read fails.
CheckersRun readCheckersReport(const std::string& path);

// As readCheckersReport; with Digest::Sha256 also the digest of the bytes it read.
ReadInput<CheckersRun> readCheckersReportInput(const std::string& path, Digest digest);

}  // namespace guidegate
