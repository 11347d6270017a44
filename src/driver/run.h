// One run of the tool, from the command line to the exit status.
#pragma once

#include <ctime>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace guidegate {

// What a run takes from its surroundings besides the arguments.
struct RunEnvironment {
  std::time_t now = 0;                           // the current time
  std::optional<std::string> sourceDateEpoch;    // SOURCE_DATE_EPOCH, when set
};

// Runs the tool on `arguments` (the program name first). Notes go to `out`, errors
// and diagnostics to `err`. The Date line shows SOURCE_DATE_EPOCH when it is set,
// else `now`. Returns the exit status: 0 when the report says "Compliant", 1 otherwise.
int runGuidegate(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                 const RunEnvironment& environment);

// The moment a SOURCE_DATE_EPOCH value names: a non-negative decimal integer that
// the calendar can show; nothing otherwise.
std::optional<std::time_t> parseSourceDateEpoch(const std::string& value);

}  // namespace guidegate
