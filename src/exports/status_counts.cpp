#include "exports/status_counts.h"

namespace guidegate {

StatusCounts countByCategory(const ComplianceEvaluation& evaluation) {
  StatusCounts counts;
  for (const auto& judged : evaluation.guidelines) ++counts[judged.category][judged.verdict.status()];
  return counts;
}

std::map<GuidelineStatus, int> countByStatus(const ComplianceEvaluation& evaluation) {
  std::map<GuidelineStatus, int> counts;
  for (const auto& judged : evaluation.guidelines) ++counts[judged.verdict.status()];
  return counts;
}

int countOf(const std::map<GuidelineStatus, int>& counts, GuidelineStatus status) {
  const auto found = counts.find(status);
  return found == counts.end() ? 0 : found->second;
}

}  // namespace guidegate
