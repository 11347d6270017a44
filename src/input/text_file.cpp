#include "input/text_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace guidegate {

std::optional<std::string> readTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::error_code ignored;
  if (!in || std::filesystem::is_directory(path, ignored)) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return std::move(content).str();
}

}  // namespace guidegate
