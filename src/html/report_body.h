// The body of the report: the sections below the result line.
#pragma once

#include <string>

#include "classify/evaluation.h"

namespace guidegate {

// MISRA C: Files, then a Violations table of guideline, category and compliance.
std::string buildMisraCReportBody(const ComplianceEvaluation& evaluation);

// Every other standard: Unmapped, Files, then a Violations table of guideline,
// headline and compliance.
std::string buildReportBody(const ComplianceEvaluation& evaluation);

}  // namespace guidegate
