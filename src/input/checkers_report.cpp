#include "input/checkers_report.h"

#include <filesystem>
#include <fstream>

#include "input/input_error.h"

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

CheckersRun readCheckersReport(const std::string& path) {
  std::ifstream in(path);
  std::error_code ignored;
  if (!in || std::filesystem::is_directory(path, ignored))
    throw InputError("Configuration: --checkers-report file not found");
  CheckersRun checkersRun;
  std::string line;
  std::string label;
  bool ran = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (parseCheckersReportLine(line, label, ran)) checkersRun[label] = ran;
  }
  return checkersRun;
}

}  // namespace guidegate
