// The whole HTML report: its frame, head, project and result lines, configuration
// notes, accepted violations and suppressions around the body.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "classify/evaluation.h"

namespace guidegate {

// The table colour of the head: blue for a compliant body, red otherwise.
std::string styleSheet(bool compliant);

// "07 December 2026": the day of `moment` in UTC; empty when the calendar cannot show it.
std::string reportDate(std::time_t moment);

// "Compliant", "Non compliant", or "Compliant with respect to suppressions and accepted
// violations", those words as links to their sections.
std::string resultLine(const ComplianceEvaluation& evaluation);

// The head of the document up to and including the fatal-errors sentence.
std::string reportHead(const ComplianceEvaluation& evaluation);

std::string acceptedViolationsTable(const AcceptedViolations& acceptedViolations);
std::string suppressionsTable(const SuppressedIds& suppressedIds);

// The accepted violations and suppressions sections that follow the head.
std::string exceptionSections(const ComplianceEvaluation& evaluation);

inline constexpr std::string_view reportEnd = "</body>\n</html>\n";

// The whole document: head, sections, "<br>\n", the body of the standard, end.
std::string renderHtmlReport(const ComplianceEvaluation& evaluation);

}  // namespace guidegate
