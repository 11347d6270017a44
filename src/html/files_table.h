// The Files section: per listed file its checksum and the findings located in it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "classify/files_summary.h"

namespace guidegate {

// The Files section showing `rows`; the empty text when the run had no files list.
std::string buildFilesTable(const std::optional<std::vector<FileRow>>& rows);

}  // namespace guidegate
