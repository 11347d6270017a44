// The Files section: per listed file its checksum and the findings located in it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogues/guideline.h"
#include "results/results_document.h"

namespace guidegate {

// One usable line of an md5sum-style files list.
struct FileEntry {
  std::string fileName;  // everything after the first run of blanks
  std::string md5sum;    // everything before the first blank
};

// Reads the files list at `path`. Lines without a blank, or whose blanks reach the
// end of the line, are skipped. Throws std::runtime_error("Failed to open file:" +
// path) when the file cannot be opened.
std::vector<FileEntry> readFilesList(const std::string& path);

// The Files section for the entries of `filesList`; empty when no list was given.
std::string buildFilesTable(const ResultsDocument& document, const std::optional<std::string>& filesList,
                            const GuidelineCatalogue& catalogue);
std::string buildFilesTable(const ResultsDocument& document, const std::vector<FileEntry>& entries,
                            const GuidelineCatalogue& catalogue);

}  // namespace guidegate
