// The run judged by MISRA Compliance:2020: every guideline's category, its revised
// category from the re-categorization plan and its compliance word, and the project's verdict.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "catalogues/coding_standard.h"
#include "input/recategorization_plan.h"

namespace guidegate {

struct GuidelineEvaluation;

enum class MisraCategory { Mandatory, Required, Advisory, Disapplied };
inline constexpr std::array allMisraCategories = {MisraCategory::Mandatory, MisraCategory::Required,
                                                  MisraCategory::Advisory, MisraCategory::Disapplied};

// The compliance word of one guideline of the Guideline Compliance Summary.
enum class ComplianceWord { Compliant, Deviations, Violations, Disapplied, NotChecked };
inline constexpr std::array allComplianceWords = {ComplianceWord::Compliant, ComplianceWord::Deviations,
                                                  ComplianceWord::Violations, ComplianceWord::Disapplied,
                                                  ComplianceWord::NotChecked};

// "Mandatory", "Required", "Advisory", "Disapplied".
const char* categoryName(MisraCategory category);
// "Compliant", "Deviations", "Violations", "Disapplied", "Not checked".
const char* complianceName(ComplianceWord word);

// A guideline the plan re-categorizes: its catalogue id and its revised category.
struct Recategorization {
  std::string id;
  MisraCategory revised = MisraCategory::Required;
};

// Resolves the plan read from `path` against the guidelines a run of `standard` lists
// (catalogue ids, report labels and categories, in catalogue order). A guideline is
// named by its id or its label, letter case aside; the category by its name, letter case
// aside. Throws InputError("Invalid recategorization plan:" + path + ":" + line + ": " +
// reason) for a non-MISRA standard, an unknown guideline or category, a change that is not
// allowed (only stricter, or Advisory to Disapplied) and a guideline listed twice.
struct PlanGuideline {
  std::string id;
  std::string label;
  MisraCategory category = MisraCategory::Required;
};
std::vector<Recategorization> resolveRecategorizationPlan(CodingStandard standard,
                                                          const std::vector<PlanGuideline>& guidelines,
                                                          const std::string& path,
                                                          const std::vector<PlanEntry>& plan);

// One row of the Guideline Compliance Summary.
struct GcsRow {
  std::string id;     // as the catalogue writes it
  std::string label;  // as the report names it
  MisraCategory category = MisraCategory::Required;
  MisraCategory revised = MisraCategory::Required;
  std::string decidability;  // MISRA C++ 2023 rules only
  ComplianceWord compliance = ComplianceWord::Compliant;
  int violations = 0;            // findings without a remark
  int deviations = 0;            // findings with a remark, on a guideline that may be deviated
  int deviationsNotPermitted = 0;  // findings with a remark on a Mandatory guideline: violations too
  std::optional<int> newViolations;  // with a baseline: the violations new since it
  bool breaksCompliance = false;     // the row is one of the verdict's reasons
};

struct ComplianceSummary {
  std::vector<GcsRow> rows;  // catalogue order
  // Revised category × compliance word: the number of rows; all of them add up to rows.size().
  std::array<std::array<int, allComplianceWords.size()>, allMisraCategories.size()> counts{};
  // The fatal analysis ids (ascending): an analysis that did not complete shows no compliance.
  std::vector<std::string> fatalErrorIds;
  bool compliant() const;
};

// Why `row` breaks compliance, as one line: "Rule 10.4 (Required): 2 violations not
// covered by a deviation", "Rule 9.1 (Mandatory): 1 violation (1 with a remark: deviation
// not permitted)", "Dir 4.1 (Required): not checked, its checks did not run".
std::string breakReason(const GcsRow& row);
// The verdict in one sentence.
std::string verdictSentence(const ComplianceSummary& summary);
// "The analysis had fatal errors: syntaxError, internalError", for a summary with fatal errors.
std::string fatalErrorsReason(const ComplianceSummary& summary);

// The Guideline Compliance Summary of the judged guidelines (catalogue order) of a MISRA
// standard, with the plan's re-categorizations, of an analysis that had the fatal errors
// `fatalErrorIds`.
ComplianceSummary complianceSummary(CodingStandard standard, const std::vector<GuidelineEvaluation>& guidelines,
                                    const std::vector<Recategorization>& plan,
                                    const std::vector<std::string>& fatalErrorIds);

// The category of each guideline a run of a MISRA standard lists, in catalogue order:
// MISRA C from its category table, MISRA C++ from its own. Nothing for a row whose table
// has no category (none does), and an empty list for any other standard.
std::vector<PlanGuideline> misraGuidelines(CodingStandard standard, const std::vector<GuidelineEvaluation>& guidelines);

}  // namespace guidegate
