// Reading an input file whole (results file, checkers report, files list), then a text
// line by line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace guidegate {

// The whole content of the file at `path`, read once; nothing when it cannot be opened
// or is a directory (each reader says so in its own words). A character or block device
// (/dev/zero, /dev/urandom: endless) and any read error raise InputError("Failed to
// open file:" + path): an input is never taken as complete when it was cut short.
// Pipes, FIFOs and process substitution are read to their end.
std::optional<std::string> readInputFile(const std::string& path);

// Calls `onLine` with each line of `content`, split as std::getline splits a stream
// (a final line without a newline counts, nothing after a final newline does), without
// the line's trailing carriage return.
template <typename OnLine>
void forEachLine(std::string_view content, OnLine&& onLine) {
  while (!content.empty()) {
    const auto newline = content.find('\n');
    std::string_view line = content.substr(0, newline);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    onLine(line);
    if (newline == std::string_view::npos) break;
    content.remove_prefix(newline + 1);
  }
}

}  // namespace guidegate
