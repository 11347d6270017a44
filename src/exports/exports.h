// Machine-readable and quick-read forms of a run: a JSON document and a Markdown
// summary, rendered from the same evaluation as the HTML report.
#pragma once

#include <ctime>
#include <string>

#include "classify/evaluation.h"

namespace guidegate {

std::string jsonReport(const ComplianceEvaluation& evaluation);
std::string markdownSummary(const ComplianceEvaluation& evaluation);

// "2026-12-07T14:03:00Z": `moment` in ISO 8601, UTC.
std::string isoDate(std::time_t moment);

// An HTML fragment's text with its character references decoded.
std::string plainText(const std::string& fragment);

// Markdown text that renders as written inside a line: the characters that mark up
// inline text or a table cell are backslash-escaped, line breaks become blanks.
std::string markdownText(const std::string& text);

// The counts per analyzer id that make up a guideline's violations: per id, or for a
// guideline judged by severity the "error" or "warning" count.
std::vector<std::pair<std::string, int>> violationCounts(const GuidelineVerdict& verdict);

}  // namespace guidegate
