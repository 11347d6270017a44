// What the Files section says of each listed file: its findings, counted once.
#pragma once

#include <string>
#include <vector>

#include "catalogues/guideline.h"
#include "classify/results_index.h"
#include "input/files_list.h"

namespace guidegate {

// One sentence of a Files row: the findings of one mapped id of one guideline.
struct FileMessage {
  std::string guideline;
  std::string id;
  int count = 0;
};

// What the Files section says of one entry of the list.
struct FileRow {
  std::string fileName;
  std::string md5sum;
  int errors = 0;
  int warnings = 0;
  std::vector<FileMessage> messages;  // in catalogue order
};

// The rows of the Files section, sorted by file name; entries of the same name keep
// their list order. A finding counts once per file however many of its locations
// name it; each finding's locations are looked up once and the counts per id come
// from the index, so no step walks all findings per file or per guideline.
std::vector<FileRow> buildFileRows(const ResultsIndex& results, const std::vector<FileEntry>& entries,
                                   const GuidelineCatalogue& catalogue);

}  // namespace guidegate
