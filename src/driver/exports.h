// Machine-readable and quick-read forms of a report: a JSON document and a
// Markdown summary, rendered from the same judgement as the HTML report.
#pragma once

#include <string>

#include "driver/command_line.h"
#include "driver/compose_report.h"
#include "input/results_document.h"

namespace guidegate {

struct ExportInputs {
  const RunOptions& options;
  const ResultsDocument& document;
  const ComposedReport& report;  // composed with a ReportModel
  const ReportModel& model;
  std::string date;  // ISO 8601, UTC: 2026-12-08T03:37:21Z
};

std::string jsonReport(const ExportInputs& inputs);
std::string markdownSummary(const ExportInputs& inputs);

// The status word of a verdict as the exports name it: compliant, violations,
// accepted-violations, suppressed, not-executed or not-implemented.
const char* statusName(const GuidelineVerdict& verdict);

// An HTML fragment's text with its character references decoded.
std::string plainText(const std::string& fragment);

}  // namespace guidegate
