// Reads the analyzer's XML results file.
#pragma once

#include <cstddef>
#include <string>

#include "input/input_digest.h"
#include "input/results_document.h"

namespace guidegate {

// Reads the results file at `path`. Throws InputError whose message is the whole
// user-facing text followed by the path: "Failed to open file:" (cannot be opened or
// read, a directory or a device), "Invalid XML data in file:" (not well-formed, as the
// parser judges it and as holdsMarkupFault adds) or "Invalid file:" (no element).
ResultsDocument loadResultsDocument(const std::string& path);

// How a large regular file, read without a digest, is read: cut into at most `count`
// parts of at least `minimumBytes` each, read side by side, each on a thread of its own.
struct ReadParts {
  std::size_t count = 1;
  std::size_t minimumBytes = std::size_t{16} << 20;
};

// A part per processor, at most eight.
ReadParts readPartsOfMachine();

// As loadResultsDocument; with Digest::Sha256 also the digest of the bytes it parsed.
ReadInput<ResultsDocument> loadResultsInput(const std::string& path, Digest digest,
                                            ReadParts parts = readPartsOfMachine());

}  // namespace guidegate
