// The comparison with the baseline as the text exports show it.
#pragma once

#include <string>

#include "classify/evaluation.h"

namespace guidegate {

// The Markdown summary's "New since baseline" section; empty without a baseline.
std::string markdownBaselineSection(const ComplianceEvaluation& evaluation);

// Where a finding is, for a reader: "file:line:column", "file:line", "file", or
// "(no location)", as plain text.
std::string findingWhere(const ResultRecord& record);

}  // namespace guidegate
