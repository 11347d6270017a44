// Reads the analyzer's XML results file.
#pragma once

#include <string>

#include "input/input_digest.h"
#include "input/results_document.h"

namespace guidegate {

// Reads the results file at `path`. Throws InputError whose message is the whole
// user-facing text followed by the path: "Failed to open file:" (cannot be opened or
// read, a directory or a device), "Invalid XML data in file:" (not well-formed, as the
// parser judges it and as holdsMarkupFault adds) or "Invalid file:" (no element).
ResultsDocument loadResultsDocument(const std::string& path);

// As loadResultsDocument; with Digest::Sha256 also the digest of the bytes it parsed.
ReadInput<ResultsDocument> loadResultsInput(const std::string& path, Digest digest);

}  // namespace guidegate
