// Machine-readable and quick-read forms of a run, rendered from the same evaluation as
// the HTML report: a JSON document, a Markdown summary, and the formats CI systems read
// natively (SARIF, JUnit XML, Code Quality JSON).
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "classify/evaluation.h"

namespace guidegate {

std::string jsonReport(const ComplianceEvaluation& evaluation);
std::string markdownSummary(const ComplianceEvaluation& evaluation);
// SARIF 2.1.0: one rule per guideline with findings, one result per finding and guideline.
std::string sarifReport(const ComplianceEvaluation& evaluation);
// JUnit XML: one test suite named after the standard, one test case per guideline in
// catalogue order (a failure when violated, an error when not executed, skipped when not
// examined otherwise), accepted findings and suppressed ids in its system-out.
std::string junitReport(const ComplianceEvaluation& evaluation);
// GitLab Code Quality JSON: one issue per finding that counts against a guideline, with
// the fingerprint of the SARIF result.
std::string codeQualityReport(const ComplianceEvaluation& evaluation);

// The fingerprint of `finding` under the guideline `judged`: 64 hexadecimal digits of a
// SHA-256 of the standard, the guideline's name, the finding's id, its first file and its
// occurrence. Line numbers take no part, so it stays when code above the finding moves.
std::string findingFingerprint(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged,
                               const GuidelineFinding& finding);

// "2026-12-07T14:03:00Z": `moment` in ISO 8601, UTC.
std::string isoDate(std::time_t moment);

// An HTML fragment's text with its character references decoded.
std::string plainText(const std::string& fragment);

// Markdown text that renders as written inside a line: the characters that mark up
// inline text, a table cell or a formula are backslash-escaped, line breaks become blanks.
std::string markdownText(const std::string& text);

// An input text as plain text that stays plain wherever a CI system shows it: every line
// break and tab becomes a blank; controls, text-reordering controls and bytes that are not
// UTF-8 become U+FFFD; and a word joiner (U+2060, invisible) follows each character that
// could start a link, a mention, a reference or a command (after ":", "@", "#", "!", "~",
// "%", "&", "$", "<", inside "www." and "GH-", and before a leading "/").
std::string neutralText(std::string_view text);

// An input text as Markdown inside a line that neither marks up nor links anything, in
// any renderer: neutralText, then markdownText.
std::string inlineMarkdown(std::string_view text);

// The counts per analyzer id that make up a guideline's violations: per id, or for a
// guideline judged by severity the "error" or "warning" count.
std::vector<std::pair<std::string, int>> violationCounts(const GuidelineVerdict& verdict);

}  // namespace guidegate
