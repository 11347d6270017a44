// Findings and suppressions indexed once per run by analyzer id, so that every
// guideline looks up its ids instead of scanning all findings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "results/results_document.h"

namespace guidegate {

class ResultsIndex {
 public:
  explicit ResultsIndex(const ResultsDocument& document);
  ResultsIndex(const ResultsIndex&) = delete;
  ResultsIndex& operator=(const ResultsIndex&) = delete;

  const ResultsDocument& document() const { return document_; }
  // Positions in `results` of the findings with exactly this id, ascending.
  const std::vector<std::uint32_t>& findingsWithId(std::string_view id) const;
  // Positions in `suppressions` of the entries equal to this id, ascending.
  const std::vector<std::uint32_t>& suppressionsOf(std::string_view id) const;
  // Findings whose severity is exactly "error" / "warning".
  int errorCount() const { return errors_; }
  int warningCount() const { return warnings_; }

 private:
  using Positions = std::unordered_map<std::string_view, std::vector<std::uint32_t>>;
  const ResultsDocument& document_;
  Positions findingsById_;
  Positions suppressionsById_;
  int errors_ = 0;
  int warnings_ = 0;
};

}  // namespace guidegate
