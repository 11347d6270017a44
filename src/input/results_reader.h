// Reads the analyzer's XML results file.
#pragma once

#include <string>

#include "input/results_document.h"

namespace guidegate {

// Reads the results file at `path`. Throws std::runtime_error whose message is the
// whole user-facing text: "Failed to open file:", "Invalid XML data in file:" or
// "Invalid file:" followed by the path.
ResultsDocument loadResultsDocument(const std::string& path);

}  // namespace guidegate
