// Reads the analyzer's XML results file.
#pragma once

#include <string>

#include "input/results_document.h"

namespace guidegate {

// Reads the results file at `path`. Throws InputError whose message is the whole
// user-facing text followed by the path: "Failed to open file:" (cannot be opened or
// read, a directory or a device), "Invalid XML data in file:" (not well-formed, as the
// parser judges it and as holdsMarkupFault adds) or "Invalid file:" (no element).
ResultsDocument loadResultsDocument(const std::string& path);

}  // namespace guidegate
