// The frame of the report around its body: head, project and result lines,
// configuration notes, accepted violations and suppressions.
#pragma once

#include <ctime>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogues/coding_standard.h"
#include "driver/command_line.h"
#include "html/report_body.h"
#include "input/results_document.h"

namespace guidegate {

// The table colour of the head: blue for a compliant body, red otherwise.
std::string styleSheet(bool compliant);

// "07 December 2026": the day of `moment` in UTC.
std::string reportDate(std::time_t moment);
// "2026-12-07T14:03:00Z": `moment` in ISO 8601, UTC.
std::string isoDate(std::time_t moment);

// The configuration notes a run's inputs call for, as plain text; each one makes the
// report non-compliant.
std::vector<std::string> configurationNotes(const RunOptions& options, const ResultsDocument& document);

// "Compliant", "Non compliant", or "Compliant with respect to suppressions and accepted
// violations" (those words as links to their sections when `links`).
std::string resultText(const BodyState& state, bool links);

// The head of the document up to and including the fatal-errors sentence. Clears
// `state.compliant` for fatal errors and for every configuration note it writes;
// writes the notes about a missing project name or version to `out`.
std::string reportHead(const RunOptions& options, const ResultsDocument& document, const std::string& date,
                       BodyState& state, std::ostream& out);

std::string acceptedViolationsTable(const AcceptedViolations& acceptedViolations);
std::string suppressionsTable(const SuppressedIds& suppressedIds);

// The accepted violations and suppressions sections that follow the head; the
// document goes on with "<br>\n", the body and reportEnd.
std::string exceptionSections(const RunOptions& options, const ResultsDocument& document, const BodyState& state);
inline constexpr std::string_view reportEnd = "</body>\n</html>\n";

}  // namespace guidegate
