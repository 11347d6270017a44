// The body of the report: the sections below the result line.
#pragma once

#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "catalogues/guideline.h"
#include "classify/guideline_status.h"
#include "classify/run_state.h"
#include "html/files_table.h"
#include "input/results_document.h"

namespace guidegate {

// What both body writers read; the run owns all of it.
struct BodyInputs {
  const ResultsDocument& document;
  const CheckersRun& checkersRun;
  const std::optional<std::string>& filesList;
  const std::string& suppressionList;
  std::ostream& diagnostics;
};

// One row of the Violations table as judged, for the machine-readable exports.
struct GuidelineOutcome {
  std::string id;
  std::string text;      // the headline as the catalogue stores it (an HTML fragment)
  std::string category;  // MISRA C only
  GuidelineVerdict verdict;
  std::vector<ResultRecord> accepted;  // the findings filed under the guideline
};

struct UnmappedCount {
  std::string severity;
  std::string id;
  int count = 0;
};

// Everything the body shows, as data.
struct ReportModel {
  std::vector<GuidelineOutcome> guidelines;
  std::vector<UnmappedCount> unmapped;
  std::optional<std::vector<FileRow>> files;  // when a files list was given
};

// What the body writers fill while they judge the guidelines.
struct BodyState {
  bool compliant = true;
  AcceptedViolations acceptedViolations;
  SuppressedIds suppressedIds;
  ReportModel* model = nullptr;  // filled as well when set
};

// MISRA C 2012 (edition 2012) or 2023 (any other edition): Files, then a Violations
// table of guideline, category and compliance.
std::string buildMisraCReportBody(int edition, const BodyInputs& inputs, BodyState& state);

// Every other standard: Unmapped, Files, then a Violations table of guideline,
// headline and compliance.
std::string buildReportBody(const GuidelineCatalogue& catalogue, const std::set<std::string>& notImplemented,
                            const BodyInputs& inputs, BodyState& state);

}  // namespace guidegate
