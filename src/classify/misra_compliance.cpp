#include "classify/misra_compliance.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <unordered_map>

#include "catalogues/misra_cpp_categories.h"
#include "classify/evaluation.h"
#include "input/input_error.h"

namespace guidegate {
namespace {

std::string lower(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

// A text of the plan as the message quotes it: control characters, which could move the
// cursor of the terminal that shows the message, written as \xHH.
std::string quoted(std::string_view text) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string result;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      result += "\\x";
      result += hex[byte >> 4];
      result += hex[byte & 0xf];
    } else {
      result += c;
    }
  }
  return result;
}

std::optional<MisraCategory> categoryNamed(std::string_view name) {
  const std::string key = lower(name);
  for (const MisraCategory category : allMisraCategories)
    if (key == lower(categoryName(category))) return category;
  return std::nullopt;
}

// A plan may make a guideline stricter, or an Advisory one Disapplied; naming its own
// category changes nothing and is allowed too.
bool allowedChange(MisraCategory from, MisraCategory to) {
  if (from == to) return true;
  if (from == MisraCategory::Advisory) return true;
  return from == MisraCategory::Required && to == MisraCategory::Mandatory;
}

const std::vector<MisraCppCategory>* misraCppCategories(CodingStandard standard) {
  if (standard == CodingStandard::MisraCpp2008) return &misraCpp2008Categories;
  if (standard == CodingStandard::MisraCpp2023) return &misraCpp2023Categories;
  return nullptr;
}

}  // namespace

const char* categoryName(MisraCategory category) {
  switch (category) {
    case MisraCategory::Mandatory: return "Mandatory";
    case MisraCategory::Required: return "Required";
    case MisraCategory::Advisory: return "Advisory";
    case MisraCategory::Disapplied: return "Disapplied";
  }
  return "Required";
}

const char* complianceName(ComplianceWord word) {
  switch (word) {
    case ComplianceWord::Compliant: return "Compliant";
    case ComplianceWord::Deviations: return "Deviations";
    case ComplianceWord::Violations: return "Violations";
    case ComplianceWord::Disapplied: return "Disapplied";
    case ComplianceWord::NotChecked: return "Not checked";
  }
  return "Violations";
}

std::string breakReason(const GcsRow& row) {
  std::string reason = row.label + " (" + categoryName(row.revised) + "): ";
  if (row.compliance == ComplianceWord::NotChecked) return reason + "not checked, its checks did not run";
  reason += std::to_string(row.violations) + (row.violations == 1 ? " violation" : " violations");
  if (row.deviationsNotPermitted > 0)
    reason += " (" + std::to_string(row.deviationsNotPermitted) + " with a remark: deviation not permitted)";
  else if (row.revised == MisraCategory::Required)
    reason += " not covered by a deviation";
  return reason;
}

std::string verdictSentence(const ComplianceSummary& summary) {
  if (summary.compliant())
    return "The project is compliant with MISRA Compliance:2020: no Mandatory guideline is violated, every "
           "violation of a Required guideline is covered by a deviation and every Mandatory and Required "
           "guideline with checks was checked.";
  int breaking = 0;
  for (const auto& row : summary.rows) breaking += row.breaksCompliance ? 1 : 0;
  std::string sentence = "The project is not compliant with MISRA Compliance:2020: ";
  if (!summary.fatalErrorIds.empty()) {
    sentence += "the analysis had fatal errors, so its findings cannot show compliance";
    if (breaking == 0) return sentence + ".";
    sentence += ", and ";
  }
  return sentence + std::to_string(breaking) + (breaking == 1 ? " guideline breaks it." : " guidelines break it.");
}

std::string fatalErrorsReason(const ComplianceSummary& summary) {
  std::string reason = "The analysis had fatal errors: ";
  for (std::size_t i = 0; i < summary.fatalErrorIds.size(); ++i) reason += (i ? ", " : "") + summary.fatalErrorIds[i];
  return reason;
}

bool ComplianceSummary::compliant() const {
  return fatalErrorIds.empty() &&
         std::none_of(rows.begin(), rows.end(), [](const GcsRow& row) { return row.breaksCompliance; });
}

std::vector<PlanGuideline> misraGuidelines(CodingStandard standard,
                                           const std::vector<GuidelineEvaluation>& guidelines) {
  std::vector<PlanGuideline> result;
  if (!misraStandard(standard)) return result;
  result.reserve(guidelines.size());
  for (const auto& judged : guidelines)
    // Every listed row has a category; a row without one would be judged as Required.
    result.push_back(
        {judged.guideline.id, judged.label, categoryNamed(judged.category).value_or(MisraCategory::Required)});
  return result;
}

std::vector<Recategorization> resolveRecategorizationPlan(CodingStandard standard,
                                                          const std::vector<PlanGuideline>& guidelines,
                                                          const std::string& path,
                                                          const std::vector<PlanEntry>& plan) {
  auto invalid = [&](int line, const std::string& reason) {
    return InputError("Invalid recategorization plan:" + path + ":" + std::to_string(line) + ": " + reason);
  };
  const StandardInfo& info = standardInfo(standard);
  if (!misraStandard(standard))
    throw invalid(plan.empty() ? 1 : plan.front().line,
                  "a recategorization plan applies to a MISRA standard only, not to " +
                      std::string(info.guidelinesName));

  std::unordered_map<std::string, std::size_t> byName;  // id and label, in lower case
  for (std::size_t index = 0; index < guidelines.size(); ++index) {
    byName.try_emplace(lower(guidelines[index].id), index);
    byName.try_emplace(lower(guidelines[index].label), index);
  }
  std::unordered_map<std::size_t, int> listedOn;  // guideline to the line that names it
  std::vector<Recategorization> result;
  for (const auto& entry : plan) {
    const auto found = byName.find(lower(entry.guideline));
    if (found == byName.end())
      throw invalid(entry.line, "unknown guideline " + quoted(entry.guideline) + " (not in " +
                                    std::string(info.guidelinesName) + ")");
    const PlanGuideline& guideline = guidelines[found->second];
    const auto revised = categoryNamed(entry.category);
    if (!revised)
      throw invalid(entry.line, "unknown category " + quoted(entry.category) +
                                    " (Mandatory, Required, Advisory or Disapplied)");
    if (const auto [earlier, first] = listedOn.try_emplace(found->second, entry.line); !first)
      throw invalid(entry.line,
                    guideline.label + " is listed twice (first on line " + std::to_string(earlier->second) + ")");
    const std::string from = std::string(categoryName(guideline.category)) + " guideline " + guideline.label;
    if (*revised == MisraCategory::Disapplied && guideline.category != MisraCategory::Advisory)
      throw invalid(entry.line, from + " cannot be Disapplied (only an Advisory guideline can)");
    if (!allowedChange(guideline.category, *revised))
      throw invalid(entry.line, from + " cannot become " + categoryName(*revised) +
                                    " (a plan may only make a guideline stricter)");
    result.push_back({guideline.id, *revised});
  }
  return result;
}

ComplianceSummary complianceSummary(CodingStandard standard, const std::vector<GuidelineEvaluation>& guidelines,
                                    const std::vector<Recategorization>& plan,
                                    const std::vector<std::string>& fatalErrorIds) {
  ComplianceSummary summary;
  summary.fatalErrorIds = fatalErrorIds;
  const std::vector<PlanGuideline> categorized = misraGuidelines(standard, guidelines);
  std::unordered_map<std::string_view, MisraCategory> revisions;
  for (const auto& entry : plan) revisions.try_emplace(entry.id, entry.revised);
  std::unordered_map<std::string_view, std::string_view> decidability;
  if (const auto* table = misraCppCategories(standard))
    for (const auto& entry : *table)
      if (!entry.decidability.empty()) decidability.try_emplace(entry.id, entry.decidability);

  summary.rows.reserve(categorized.size());
  for (std::size_t index = 0; index < categorized.size(); ++index) {
    const GuidelineEvaluation& judged = guidelines[index];
    const GuidelineVerdict& verdict = judged.verdict;
    GcsRow row;
    row.id = categorized[index].id;
    row.label = categorized[index].label;
    row.category = categorized[index].category;
    const auto revised = revisions.find(row.id);
    row.revised = revised == revisions.end() ? row.category : revised->second;
    if (const auto found = decidability.find(row.id); found != decidability.end()) row.decidability = found->second;
    const int remarked = static_cast<int>(verdict.acceptedFindings.size());
    if (row.revised == MisraCategory::Mandatory)
      row.deviationsNotPermitted = remarked;
    else
      row.deviations = remarked;
    row.violations = static_cast<int>(verdict.findings.size()) + row.deviationsNotPermitted;
    if (judged.baseline) row.newViolations = judged.baseline->violations.added;

    // A finding proves that its check ran: a guideline with findings is judged by them.
    const bool checksExist = !judged.guideline.mappedIds.empty() && verdict.execution != Execution::NotImplemented;
    if (row.revised == MisraCategory::Disapplied) {
      row.compliance = ComplianceWord::Disapplied;
    } else if (row.violations > 0) {
      row.compliance = ComplianceWord::Violations;
      row.breaksCompliance = row.revised != MisraCategory::Advisory;
    } else if (row.deviations > 0) {
      row.compliance = ComplianceWord::Deviations;
    } else if (verdict.execution != Execution::Ran) {
      row.compliance = ComplianceWord::NotChecked;
      row.breaksCompliance = checksExist && row.revised != MisraCategory::Advisory;
    } else {
      row.compliance = ComplianceWord::Compliant;
    }
    ++summary.counts[static_cast<std::size_t>(row.revised)][static_cast<std::size_t>(row.compliance)];
    summary.rows.push_back(std::move(row));
  }
  return summary;
}

}  // namespace guidegate
