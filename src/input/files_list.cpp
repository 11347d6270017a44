#include "input/files_list.h"

#include <filesystem>
#include <fstream>

#include "input/input_error.h"

namespace guidegate {

std::vector<FileEntry> readFilesList(const std::string& path) {
  std::ifstream in(path);
  std::error_code ignored;
  if (!in || std::filesystem::is_directory(path, ignored)) throw InputError("Failed to open file:" + path);
  std::vector<FileEntry> entries;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto blank = line.find_first_of(" \t");
    if (blank == std::string::npos) continue;
    const auto name = line.find_first_not_of(" \t", blank);
    if (name == std::string::npos) continue;
    entries.push_back({line.substr(name), line.substr(0, blank)});
  }
  return entries;
}

}  // namespace guidegate
