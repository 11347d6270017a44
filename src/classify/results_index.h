// Findings and suppressions indexed once per run by analyzer id, so that every
// guideline looks up its ids instead of scanning all findings.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "input/results_document.h"
#include "input/text_keys.h"

namespace guidegate {

class ResultsIndex {
 public:
  // The findings of one analyzer id.
  struct IdFindings {
    std::string_view id;
    std::vector<std::uint32_t> positions;  // in `results`, ascending
    int errors = 0;                        // findings whose severity is exactly "error"
    int warnings = 0;                      // ... exactly "warning"
  };

  explicit ResultsIndex(const ResultsDocument& document);
  ResultsIndex(const ResultsIndex&) = delete;
  ResultsIndex& operator=(const ResultsIndex&) = delete;

  const ResultsDocument& document() const { return document_; }
  // Positions in `results` of the findings with exactly this id, ascending.
  const std::vector<std::uint32_t>& findingsWithId(std::string_view id) const;
  // Positions in `suppressions` of the entries equal to this id, ascending.
  const std::vector<std::uint32_t>& suppressionsOf(std::string_view id) const;
  // Every distinct id among the findings, in the order first met.
  const std::vector<IdFindings>& ids() const { return ids_; }
  // Findings whose severity is exactly "error" / "warning".
  int errorCount() const { return errors_; }
  int warningCount() const { return warnings_; }
  // Positions of the findings whose severity is exactly "error" or "warning", ascending.
  const std::vector<std::uint32_t>& errorsAndWarnings() const { return errorsAndWarnings_; }

 private:
  const ResultsDocument& document_;
  std::vector<IdFindings> ids_;
  std::unordered_map<std::string_view, std::uint32_t, std::hash<std::string_view>, TextEqual> idNumbers_;  // places in ids_
  std::unordered_map<std::string_view, std::vector<std::uint32_t>> suppressionsById_;
  std::vector<std::uint32_t> errorsAndWarnings_;
  int errors_ = 0;
  int warnings_ = 0;
};

// The number of findings per id whose severity is exactly `severity` ("error" or
// "warning"), ids in ascending order; ids without such findings are left out.
std::map<std::string, int> countById(const ResultsIndex& results, std::string_view severity);

}  // namespace guidegate
