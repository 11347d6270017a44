// The Guideline Compliance Summary of MISRA Compliance:2020 as a self-contained HTML
// document, in the look of the report.
#pragma once

#include <string>

#include "classify/evaluation.h"

namespace guidegate {

// The table of counts: one row per revised category, one column per compliance word, totals.
std::string complianceCountsTable(const ComplianceSummary& summary);

// The whole document: the report's project, guidelines, tool and date lines, the verdict
// with its reasons and the guidelines not checked, the counts and one row per guideline.
// The evaluation must hold a compliance summary.
std::string renderComplianceSummary(const ComplianceEvaluation& evaluation);

}  // namespace guidegate
