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

// The last second of the year 9999 (9999-12-31T23:59:59Z): later dates have more
// than four year digits, which the JSON report's date-time cannot hold.
inline constexpr std::time_t latestSourceDateEpoch = 253402300799;

// The moment a SOURCE_DATE_EPOCH value names: a non-negative decimal integer up to
// latestSourceDateEpoch; nothing otherwise.
std::optional<std::time_t> parseSourceDateEpoch(const std::string& value);

}  // namespace guidegate
