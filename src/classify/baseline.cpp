#include "classify/baseline.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>
#include <utility>

#include "input/text_keys.h"

namespace guidegate {
namespace {

// id, file: views into the document or the baseline, alive as long as the call
using Key = TextPair;

}  // namespace

std::string_view keyFile(const ResultRecord& record) {
  if (record.locations.empty()) return {};
  std::string_view file = record.locations.front().file;
  if (file.starts_with("./")) file.remove_prefix(2);
  return file;
}

std::vector<FindingKeyCount> findingKeyCounts(const ResultsDocument& document,
                                              const std::vector<GuidelineFinding>& findings) {
  // Counted in a hash table, the few distinct keys then put in order.
  std::unordered_map<Key, std::array<int, 2>, TextPairHash, TextPairEqual> counts;  // counted, accepted
  for (const auto& finding : findings) {
    const ResultRecord& record = document.results[finding.position];
    ++counts[{record.id, keyFile(record)}][finding.accepted ? 1 : 0];
  }
  std::vector<std::pair<Key, std::array<int, 2>>> ordered(counts.begin(), counts.end());
  std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<FindingKeyCount> keys;
  keys.reserve(ordered.size());
  for (auto& [key, count] : ordered) keys.push_back({std::string(key.first), std::string(key.second), count[0], count[1]});
  return keys;
}

CountChange& CountChange::operator+=(const CountChange& other) {
  added += other.added;
  fixed += other.fixed;
  outstanding += other.outstanding;
  return *this;
}

GuidelineBaseline compareWithBaseline(const ResultsDocument& document, const std::vector<FindingKeyCount>& now,
                                      const BaselineGuideline* before, bool executedNow,
                                      std::vector<GuidelineFinding>& findings) {
  GuidelineBaseline compared;
  compared.regressed = before && before->executed && !executedNow;

  // Per key: the baseline's counted and accepted findings, then this run's.
  std::map<Key, std::array<int, 4>> counts;
  if (before)
    for (const auto& key : before->findingCounts) {
      auto& count = counts[{key.id, key.file}];
      count[0] += key.count;  // the reader bounds the sum of the file's counts
      count[1] += key.accepted;
    }
  for (const auto& key : now) {
    auto& count = counts[{key.id, key.file}];
    count[2] = key.count;
    count[3] = key.accepted;
  }

  auto change = [](int was, int is) {
    return CountChange{.added = is > was ? is - was : 0,
                       .fixed = was > is ? was - is : 0,
                       .outstanding = was < is ? was : is};
  };
  for (const auto& [key, count] : counts) {
    const CountChange counted = change(count[0], count[2]);
    const CountChange accepted = change(count[1], count[3]);
    compared.violations += counted;
    compared.accepted += accepted;
    if (counted.fixed > 0 || accepted.fixed > 0) compared.fixed.push_back({std::string(key.first), std::string(key.second), counted.fixed, accepted.fixed});
  }

  // The first findings of each key and kind are the ones the baseline knew.
  for (auto& finding : findings) {
    const ResultRecord& record = document.results[finding.position];
    const auto found = counts.find({record.id, keyFile(record)});
    int* known = found == counts.end() ? nullptr : &found->second[finding.accepted ? 1 : 0];
    if (known && *known > 0) {
      --*known;
    } else {
      finding.newSinceBaseline = true;
    }
  }
  return compared;
}

}  // namespace guidegate
