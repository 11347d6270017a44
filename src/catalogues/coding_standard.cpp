#include "catalogues/coding_standard.h"

#include <cstdlib>
#include <stdexcept>

#include "catalogues/tables.h"

namespace guidegate {

const std::vector<StandardInfo>& codingStandards() {
  static const std::vector<StandardInfo> standards = {
      {CodingStandard::CertC, {"--cert-c", "--cert-c-2016"}, "Cert C", "Cert C 2016",
       "cert-c-compliance-report.html"},
      {CodingStandard::CertCpp, {"--cert-c++", "--cert-c++-2016"}, "Cert C++", "Cert C++ 2016",
       "cert-cpp-compliance-report.html"},
      {CodingStandard::MisraC2012, {"--misra-c-2012"}, "Misra C", "Misra C 2012",
       "misra-c-2012-compliance-report.html"},
      {CodingStandard::MisraC2023, {"--misra-c-2023"}, "Misra C", "Misra C 2023",
       "misra-c-2023-compliance-report.html"},
      {CodingStandard::MisraCpp2008, {"--misra-c++-2008"}, "Misra C++", "Misra C++ 2008",
       "misra-cpp-2008-compliance-report.html"},
      {CodingStandard::MisraCpp2023, {"--misra-c++-2023"}, "Misra C++", "Misra C++ 2023",
       "misra-cpp-2023-compliance-report.html"},
      {CodingStandard::CweTop25, {"--cwe-top25"}, "SANS CWE Top 25", "SANS CWE Top 25",
       "cwe-top25-compliance-report.html"},
  };
  return standards;
}

const StandardInfo& standardInfo(CodingStandard standard) {
  for (const auto& info : codingStandards())
    if (info.standard == standard) return info;
  throw std::runtime_error("Internal error: coding standard not supported");
}

std::optional<CodingStandard> standardForFlag(std::string_view argument) {
  for (const auto& info : codingStandards())
    for (auto flag : info.flags)
      if (flag == argument) return info.standard;
  return std::nullopt;
}

ReportCatalogue ReportCatalogue::builtIn(const GuidelineCatalogue& rows, std::set<std::string> notImplemented) {
  ReportCatalogue catalogue;
  catalogue.builtIn_ = &rows;
  catalogue.notImplemented_ = std::move(notImplemented);
  return catalogue;
}

ReportCatalogue ReportCatalogue::derived(GuidelineCatalogue rows, std::set<std::string> notImplemented) {
  ReportCatalogue catalogue;
  catalogue.derived_ = std::move(rows);
  catalogue.notImplemented_ = std::move(notImplemented);
  return catalogue;
}

ReportCatalogue::ReportCatalogue(ReportCatalogue&& other) noexcept
    : builtIn_(other.builtIn_),
      derived_(std::move(other.derived_)),
      notImplemented_(std::move(other.notImplemented_)) {}

std::optional<MisraCEdition> misraCEdition(CodingStandard standard) {
  if (standard == CodingStandard::MisraC2012) return MisraCEdition::Edition2012;
  if (standard == CodingStandard::MisraC2023) return MisraCEdition::Edition2023;
  return std::nullopt;
}

bool misraStandard(CodingStandard standard) {
  return misraCEdition(standard) || standard == CodingStandard::MisraCpp2008 || standard == CodingStandard::MisraCpp2023;
}

const GuidelineCatalogue& misraCCatalogue(MisraCEdition edition) {
  return edition == MisraCEdition::Edition2012 ? misraC2012Catalogue : misraC2023Catalogue;
}

std::string guidelineLabel(CodingStandard standard, const Guideline& row) {
  if (misraCEdition(standard) && !row.id.starts_with("Dir ")) return "Rule " + row.id;
  return row.id;
}

std::string guidelineName(CodingStandard standard, const Guideline& row) {
  if (standard == CodingStandard::CweTop25) return "CWE-" + row.id;
  return guidelineLabel(standard, row);
}

std::string standardKey(CodingStandard standard) {
  std::string key(standardInfo(standard).flags.front().substr(2));
  if (const auto plus = key.find("++"); plus != std::string::npos) key.replace(plus, 2, "pp");
  return key;
}

GuidelineCatalogue certCppReportCatalogue() {
  GuidelineCatalogue catalogue = certCppCatalogue;
  for (const auto& row : certCCatalogue)
    if (!certCNotInCpp.contains(row.id)) catalogue.push_back(row);
  return catalogue;
}

namespace {

// CWE numbers whose report row counts one fixed id instead of the table's ids.
const char* cweReplacementId(int number) {
  switch (number) {
    case 78:
    case 119:
    case 125:
    case 787:
      return "bufferAccessOutOfBounds";
    case 190:
      return "integerOverflow";
    case 416:
      return "deallocuse";
    case 476:
      return "nullPointer";
    default:
      return nullptr;
  }
}

}  // namespace

GuidelineCatalogue cweTop25ReportCatalogue() {
  GuidelineCatalogue catalogue;
  for (int number : cweTop25) {
    const Guideline* found = nullptr;
    for (const auto& row : cweCatalogue) {
      if (std::atoi(row.id.c_str()) == number) {
        found = &row;
        break;
      }
    }
    if (!found) {
      catalogue.push_back({std::to_string(number), "", ""});
      continue;
    }
    Guideline row = *found;
    if (const char* replacement = cweReplacementId(number)) row.mappedIds = replacement;
    catalogue.push_back(std::move(row));
  }
  return catalogue;
}

ReportCatalogue reportCatalogue(CodingStandard standard) {
  switch (standard) {
    case CodingStandard::CertC:
      return ReportCatalogue::builtIn(certCCatalogue);
    case CodingStandard::CertCpp:
      return ReportCatalogue::derived(certCppReportCatalogue(), {});
    case CodingStandard::MisraC2012:
      return ReportCatalogue::builtIn(misraC2012Catalogue);
    case CodingStandard::MisraC2023:
      return ReportCatalogue::builtIn(misraC2023Catalogue);
    case CodingStandard::MisraCpp2008:
      return ReportCatalogue::builtIn(misraCpp2008Catalogue);
    case CodingStandard::MisraCpp2023:
      return ReportCatalogue::builtIn(misraCpp2023Catalogue);
    case CodingStandard::CweTop25:
      return ReportCatalogue::derived(cweTop25ReportCatalogue(), cweTop25NotImplemented);
  }
  throw std::runtime_error("Internal error: coding standard not supported");
}

}  // namespace guidegate
