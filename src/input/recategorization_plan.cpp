#include "input/recategorization_plan.h"

#include "input/input_error.h"
#include "input/text_file.h"

namespace guidegate {
namespace {

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::vector<PlanEntry> parseRecategorizationPlan(const std::string& path, std::string_view content) {
  std::vector<PlanEntry> entries;
  int number = 0;
  forEachLine(content, [&](std::string_view line) {
    ++number;
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == '#') return;
    auto invalid = [&](const std::string& reason) {
      return InputError("Invalid recategorization plan:" + path + ":" + std::to_string(number) + ": " + reason);
    };
    const auto comma = text.find(',');
    if (comma == std::string_view::npos) throw invalid("expected GUIDELINE, CATEGORY");
    const std::string_view guideline = trimmed(text.substr(0, comma));
    const std::string_view category = trimmed(text.substr(comma + 1));
    if (guideline.empty()) throw invalid("no guideline before the comma");
    if (category.empty()) throw invalid("no category after the comma");
    if (category.find(',') != std::string_view::npos) throw invalid("more than one comma");
    entries.push_back({number, std::string(guideline), std::string(category)});
  });
  return entries;
}

ReadInput<std::vector<PlanEntry>> readRecategorizationPlanInput(const std::string& path, Digest digest) {
  const std::optional<std::string> content = readInputFile(path);
  if (!content) throw InputError("Failed to open file:" + path);
  ReadInput<std::vector<PlanEntry>> read;
  if (digest == Digest::Sha256) read.digest = digestInput(path, *content);
  read.content = parseRecategorizationPlan(path, *content);
  return read;
}

}  // namespace guidegate
