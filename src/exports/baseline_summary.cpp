#include "exports/baseline_summary.h"

#include "exports/exports.h"

namespace guidegate {
namespace {

std::string plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string newFindingsCell(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged) {
  constexpr int shown = 5;
  std::string cell;
  int listed = 0;
  int more = 0;
  for (const auto& finding : judged.findings) {
    if (!finding.newSinceBaseline || finding.accepted) continue;
    if (listed == shown) {
      ++more;
      continue;
    }
    const ResultRecord& record = evaluation.document->results[finding.position];
    if (listed++ > 0) cell += "; ";
    cell += markdownText(std::string(record.id)) + " at " + markdownText(findingWhere(record));
  }
  if (more > 0) cell += "; … and " + std::to_string(more) + " more";
  if (judged.baseline->regressed) cell += std::string(cell.empty() ? "" : "; ") + "**no longer executed**";
  return cell;
}

}  // namespace

std::string findingWhere(const ResultRecord& record) {
  const auto places = record.locations;
  if (places.empty()) return "(no location)";
  const Location& place = places.front();
  std::string where(place.file);
  if (place.line > 0) where += ":" + std::to_string(place.line);
  if (place.line > 0 && place.column > 0) where += ":" + std::to_string(place.column);
  return where;
}

std::string markdownBaselineSection(const ComplianceEvaluation& evaluation) {
  if (!evaluation.baseline) return {};
  const BaselineComparison& comparison = *evaluation.baseline;
  std::string md = "## New since baseline\n\n";
  if (comparison.gated) md += std::string("**Gate:** ") + (comparison.gatePassed ? "passed" : "failed") + "  \n";
  md += "**New violations:** " + std::to_string(comparison.violations.added) + " in " +
        plural(comparison.guidelinesWithNew, "guideline", "guidelines") + "  \n";
  md += "**Fixed:** " + std::to_string(comparison.violations.fixed) + "  \n";
  md += "**Outstanding:** " + std::to_string(comparison.violations.outstanding) + "  \n";
  md += "**Accepted findings:** " + std::to_string(comparison.accepted.added) + " new, " +
        std::to_string(comparison.accepted.fixed) + " fixed, " + std::to_string(comparison.accepted.outstanding) +
        " outstanding  \n";
  md += "**No longer executed:** " + plural(comparison.regressed, "guideline", "guidelines") + "\n";
  if (!evaluation.fatalErrorIds.empty()) md += "\nSome source files were not fully analysed (fatal analysis errors).\n";
  md += "\n";

  std::vector<const GuidelineEvaluation*> listed;
  for (const auto& judged : evaluation.guidelines) {
    const GuidelineBaseline& compared = *judged.baseline;
    if (compared.violations.added > 0 || compared.violations.fixed > 0 || compared.regressed) listed.push_back(&judged);
  }
  if (listed.empty()) return md;
  constexpr std::size_t shown = 50;
  md += "| Guideline | New | Fixed | Outstanding | New findings |\n|---|---:|---:|---:|---|\n";
  for (std::size_t i = 0; i < listed.size() && i < shown; ++i) {
    const GuidelineEvaluation& judged = *listed[i];
    const CountChange& change = judged.baseline->violations;
    md += "| " + markdownText(judged.label) + " | " + std::to_string(change.added) + " | " +
          std::to_string(change.fixed) + " | " + std::to_string(change.outstanding) + " | " +
          newFindingsCell(evaluation, judged) + " |\n";
  }
  if (listed.size() > shown) md += "\n… and " + std::to_string(listed.size() - shown) + " more.\n";
  md += "\n";
  return md;
}

}  // namespace guidegate
