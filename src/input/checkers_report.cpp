#include "input/checkers_report.h"

#include "input/input_error.h"
#include "input/text_file.h"

namespace guidegate {

bool parseCheckersReportLine(std::string_view line, std::string& label, bool& ran) {
  if (line.size() < 5) return false;
  if (!line.starts_with("Yes ") && !line.starts_with("No ")) return false;
  const auto begin = line.find_first_not_of(' ', 3);
  if (begin == std::string_view::npos) return false;
  const auto end = line.find("  ", begin);
  label = line.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
  ran = line.front() == 'Y';
  return true;
}

CheckersRun readCheckersReport(const std::string& path) { return readCheckersReportInput(path, Digest::Skip).content; }

ReadInput<CheckersRun> readCheckersReportInput(const std::string& path, Digest digest) {
  const std::optional<std::string> content = readInputFile(path);
  if (!content) throw InputError("Configuration: --checkers-report file not found");
  ReadInput<CheckersRun> read;
  if (digest == Digest::Sha256) read.digest = digestInput(path, *content);
  std::string label;
  bool ran = false;
  forEachLine(*content, [&](std::string_view line) {
    if (parseCheckersReportLine(line, label, ran)) read.content[label] = ran;
  });
  return read;
}

}  // namespace guidegate
