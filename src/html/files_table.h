// The Files section: per listed file its checksum and the findings located in it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogues/guideline.h"
#include "classify/results_index.h"
#include "input/files_list.h"
#include "input/results_document.h"

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
// their list order.
std::vector<FileRow> filesTableRows(const ResultsDocument& document, const std::vector<FileEntry>& entries,
                                    const GuidelineCatalogue& catalogue);

// The Files section for the entries of `filesList`; empty when no list was given.
// When `rows` is given, it receives the rows the section shows.
std::string buildFilesTable(const ResultsDocument& document, const std::optional<std::string>& filesList,
                            const GuidelineCatalogue& catalogue, std::vector<FileRow>* rows = nullptr);
std::string buildFilesTable(const ResultsDocument& document, const std::vector<FileEntry>& entries,
                            const GuidelineCatalogue& catalogue, std::vector<FileRow>* rows = nullptr);
// The same from the findings as the run has indexed them.
std::string buildFilesTable(const ResultsIndex& results, const std::optional<std::string>& filesList,
                            const GuidelineCatalogue& catalogue, std::vector<FileRow>* rows = nullptr);
std::string buildFilesTable(const ResultsIndex& results, const std::vector<FileEntry>& entries,
                            const GuidelineCatalogue& catalogue, std::vector<FileRow>* rows = nullptr);

}  // namespace guidegate
