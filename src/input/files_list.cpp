#include "input/files_list.h"

#include "input/input_error.h"
#include "input/text_file.h"

namespace guidegate {

std::vector<FileEntry> readFilesList(const std::string& path) { return readFilesListInput(path, Digest::Skip).content; }

ReadInput<std::vector<FileEntry>> readFilesListInput(const std::string& path, Digest digest) {
  const std::optional<std::string> content = readInputFile(path);
  if (!content) throw InputError("Failed to open file:" + path);
  ReadInput<std::vector<FileEntry>> read;
  if (digest == Digest::Sha256) read.digest = digestInput(path, *content);
  forEachLine(*content, [&](std::string_view line) {
    const auto blank = line.find_first_of(" \t");
    if (blank == std::string_view::npos) return;
    const auto name = line.find_first_not_of(" \t", blank);
    if (name == std::string_view::npos) return;
    read.content.push_back({std::string(line.substr(name)), std::string(line.substr(0, blank))});
  });
  return read;
}

}  // namespace guidegate
