#include "input/results_document.h"

#include <algorithm>

namespace guidegate {

std::string_view TextPool::intern(std::string_view text) {
  const auto found = texts_.find(text);
  if (found != texts_.end()) return *found;
  return *texts_.emplace(text).first;
}

const std::vector<std::string>& fatalAnalysisIds() {
  static const std::vector<std::string> ids = {
      "tarnwickError", "tarnwickLimit",  "internalAstError", "instantiationError",
      "internalError", "preprocessorErrorDirective", "syntaxError", "unknownMacro"};
  return ids;
}

std::string ResultsDocument::fatalErrorIds() const {
  const auto& fatal = fatalAnalysisIds();
  std::set<std::string_view> found;
  for (const auto& record : results) {
    if (found.size() == fatal.size()) break;
    if (std::find(fatal.begin(), fatal.end(), record.id) != fatal.end()) found.insert(record.id);
  }
  std::string text;
  for (const auto& id : found) {
    if (!text.empty()) text += ", ";
    text += id;
  }
  return text;
}

}  // namespace guidegate
