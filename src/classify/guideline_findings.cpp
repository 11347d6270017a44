#include "classify/guideline_findings.h"

#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "input/text_keys.h"

namespace guidegate {

FindingLevel findingLevel(std::string_view severity) {
  if (severity == "error") return FindingLevel::Error;
  if (severity == "warning") return FindingLevel::Warning;
  return FindingLevel::Note;
}

std::vector<GuidelineFinding> guidelineFindings(const ResultsDocument& document, const GuidelineVerdict& verdict) {
  std::set<std::string_view> suppressed(verdict.suppressedByOption.begin(), verdict.suppressedByOption.end());
  suppressed.insert(verdict.suppressedInResults.begin(), verdict.suppressedInResults.end());

  std::vector<GuidelineFinding> findings;
  findings.reserve(verdict.findings.size() + verdict.acceptedFindings.size());
  // id, first file -> findings so far; the views are the document's texts, not copies
  using Key = TextPair;
  std::unordered_map<Key, std::uint32_t, TextPairHash, TextPairEqual> seen;
  auto add = [&](std::uint32_t position, bool accepted) {
    const ResultRecord& record = document.results[position];
    const Key key{record.id, record.locations.empty() ? std::string_view() : record.locations.front().file};
    findings.push_back({.position = position,
                        .level = findingLevel(record.severity),
                        .accepted = accepted,
                        .idSuppressed = suppressed.contains(record.id),
                        .occurrence = seen[key]++,
                        .newSinceBaseline = false});
  };
  for (const auto position : verdict.findings) add(position, false);
  for (const auto position : verdict.acceptedFindings) add(position, true);
  return findings;
}

}  // namespace guidegate
