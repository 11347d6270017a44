// The whole report of a run, composed in memory before anything is written.
#pragma once

#include <ostream>
#include <string>

#include "classify/run_state.h"
#include "driver/command_line.h"
#include "html/report_body.h"
#include "input/results_document.h"

namespace guidegate {

struct ComposedReport {
  std::string head;      // up to the fatal-errors sentence
  std::string sections;  // accepted violations and suppressions
  std::string body;      // Unmapped, Files and Violations sections
  BodyState state;       // the verdict and what the judgement filed

  // The document as it is written: head, sections, "<br>\n", body, end.
  std::string text() const;
};

// Builds the body for the chosen standard, then the head and closing sections around
// it, filling `model` when given. Notes about a missing project name or version go to `out`, diagnostics to `err`.
// Throws std::runtime_error for unreadable inputs (the files list).
ComposedReport composeReport(const RunOptions& options, const ResultsDocument& document,
                             const CheckersRun& checkersRun, const std::string& date, std::ostream& out,
                             std::ostream& err, ReportModel* model = nullptr);

}  // namespace guidegate
