// One run of the tool, from the command line to the exit status.
#pragma once

#include <ctime>
#include <ostream>
#include <string>
#include <vector>

namespace guidegate {

// Runs the tool on `arguments` (the program name first). Notes go to `out`, errors
// and diagnostics to `err`; `now` is the moment the Date line shows. Returns the
// exit status: 0 when the report says "Compliant", 1 otherwise.
int runGuidegate(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, std::time_t now);

}  // namespace guidegate
