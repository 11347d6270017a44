// The built-in constant tables, one source file each.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogues/guideline.h"

namespace guidegate {

extern const GuidelineCatalogue certCCatalogue;         // 99 CERT C rules
extern const GuidelineCatalogue certCppCatalogue;       // 83 CERT C++ rules
extern const GuidelineCatalogue misraC2012Catalogue;    // 16 directives, 200 rules
extern const GuidelineCatalogue misraC2023Catalogue;    // 21 directives, 200 rules
extern const GuidelineCatalogue misraCpp2008Catalogue;  // 216 rules
extern const GuidelineCatalogue misraCpp2023Catalogue;  // 4 directives, 175 rules
extern const GuidelineCatalogue cweCatalogue;           // CWE number to analyzer ids, 63 rows

// Analyzer id to the label under which the checkers report lists its check;
// "error" marks ids that count as executed without a look-up.
extern const std::map<std::string, std::string> checkerNames;

// CERT C rules that the CERT C++ report leaves out.
extern const std::set<std::string> certCNotInCpp;

// The CWE Top 25 list in its own order, and the numbers reported "Not implemented".
extern const std::vector<int> cweTop25;
extern const std::set<std::string> cweTop25NotImplemented;

}  // namespace guidegate
