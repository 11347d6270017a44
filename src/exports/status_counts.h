// The number of guidelines per status (and per MISRA C category) that both exports show.
#pragma once

#include <array>
#include <map>
#include <string>

#include "classify/evaluation.h"

namespace guidegate {

inline constexpr std::array<GuidelineStatus, 6> allStatuses = {
    GuidelineStatus::Compliant,  GuidelineStatus::Violations,  GuidelineStatus::AcceptedViolations,
    GuidelineStatus::Suppressed, GuidelineStatus::NotExecuted, GuidelineStatus::NotImplemented};
inline constexpr std::array<const char*, 3> misraCategoryNames = {"Mandatory", "Required", "Advisory"};

// Guidelines per status, per category ("" for standards without categories).
using StatusCounts = std::map<std::string, std::map<GuidelineStatus, int>>;
StatusCounts countByCategory(const ComplianceEvaluation& evaluation);
// Guidelines per status over all categories.
std::map<GuidelineStatus, int> countByStatus(const ComplianceEvaluation& evaluation);

// The count of `status` in `counts`, 0 when absent.
int countOf(const std::map<GuidelineStatus, int>& counts, GuidelineStatus status);

}  // namespace guidegate
