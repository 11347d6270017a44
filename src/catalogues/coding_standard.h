// The supported coding standards and how a run chooses its guidelines.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "catalogues/guideline.h"

namespace guidegate {

enum class CodingStandard { CertC, CertCpp, MisraC2012, MisraC2023, MisraCpp2008, MisraCpp2023, CweTop25 };

// The two editions of MISRA C, whose reports share one layout and one category table.
enum class MisraCEdition { Edition2012, Edition2023 };

// The MISRA C edition a standard is, or nothing for every other standard: the one
// place that decides whether a run reports MISRA C.
std::optional<MisraCEdition> misraCEdition(CodingStandard standard);
// Whether `standard` is one of the four MISRA standards (C 2012 and 2023, C++ 2008 and
// 2023), whose guidelines have categories and can be judged by MISRA Compliance:2020.
bool misraStandard(CodingStandard standard);

struct StandardInfo {
  CodingStandard standard;
  std::vector<std::string_view> flags;  // command-line flags, the main one first
  std::string_view title;               // short name used in the title and heading
  std::string_view guidelinesName;      // name with edition for the "Guidelines:" line
  std::string_view defaultOutputFile;
};

// All seven standards in enumeration order.
const std::vector<StandardInfo>& codingStandards();
const StandardInfo& standardInfo(CodingStandard standard);
// The standard whose flag is exactly `argument`, if any.
std::optional<CodingStandard> standardForFlag(std::string_view argument);

// The guidelines a report lists and the ids it reports "Not implemented" when their
// checks did not run. Built-in catalogues are referenced; derived ones are owned.
class ReportCatalogue {
 public:
  static ReportCatalogue builtIn(const GuidelineCatalogue& rows, std::set<std::string> notImplemented = {});
  static ReportCatalogue derived(GuidelineCatalogue rows, std::set<std::string> notImplemented = {});
  ReportCatalogue(const ReportCatalogue&) = delete;
  ReportCatalogue& operator=(const ReportCatalogue&) = delete;
  ReportCatalogue(ReportCatalogue&& other) noexcept;
  ReportCatalogue& operator=(ReportCatalogue&&) = delete;

  const GuidelineCatalogue& guidelines() const { return builtIn_ ? *builtIn_ : derived_; }
  const std::set<std::string>& notImplemented() const { return notImplemented_; }

 private:
  ReportCatalogue() = default;
  const GuidelineCatalogue* builtIn_ = nullptr;
  GuidelineCatalogue derived_;
  std::set<std::string> notImplemented_;
};

ReportCatalogue reportCatalogue(CodingStandard standard);

// The CERT C++ rules followed by the CERT C rules that apply to C++ (159 rows).
GuidelineCatalogue certCppReportCatalogue();
// The 25 rows of the CWE Top 25 list, with their fixed replacement ids.
GuidelineCatalogue cweTop25ReportCatalogue();
const GuidelineCatalogue& misraCCatalogue(MisraCEdition edition);

// The guideline as a report names it: MISRA C rules as "Rule " and the number,
// everything else (directives, other standards) as the catalogue writes it.
std::string guidelineLabel(CodingStandard standard, const Guideline& row);
// The guideline as the outputs read by CI systems name it: the label, and "CWE-" and
// the number for the CWE Top 25 ("CWE-787"), whose report shows the bare number.
std::string guidelineName(CodingStandard standard, const Guideline& row);
// The standard as a name without blanks or dots for those outputs: the main flag
// without its dashes, "++" written "pp" ("misra-c-2012", "cert-cpp", "cwe-top25").
std::string standardKey(CodingStandard standard);

}  // namespace guidegate
