#include "classify/unmapped.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace guidegate {
namespace {

const GuidelineCatalogue catalogue = {{"R1", "Null pointers", "nullPointer"}, {"CWE-401", "", "memleak"}};

// The texts of a hand-made record are string literals, which outlive it.
ResultRecord finding(const char* id, const char* severity, std::vector<const char*> files = {"a.c"}) {
  static LocationPool places;  // holds the locations for the whole test program
  std::vector<Location> locations;
  for (const char* file : files) locations.push_back({file});
  return ResultRecord{id, severity, "", places.keep(locations)};
}

std::string describe(const std::vector<ResultRecord>& findings) {
  ResultsDocument document;
  document.results = findings;
  const ResultsIndex index(document);
  std::string text;
  for (const auto& row : unmappedCounts(index, catalogue))
    text += row.severity + " " + row.id + " " + std::to_string(row.count) + "\n";
  return text;
}

TEST(UnmappedCounts, ErrorsFirstThenWarningsEachInByteOrder) {
  EXPECT_EQ(describe({
                finding("zeta", "warning"), finding("zeta", "error"), finding("zeta", "warning"),
                finding("alpha", "error"), finding("alpha", "error", {"a.c", "b.c", "c.c"}),
                finding("Bravo", "error"), finding("Zulu", "warning"), finding("styleOnly", "style"),
                finding("portable", "portability"), finding("solvane-nullPointer", "error"),
                finding("memleak", "warning"),
            }),
            "error Bravo 1\nerror alpha 2\nerror zeta 1\nwarning Zulu 1\nwarning zeta 2\n");
}

TEST(UnmappedCounts, OnlyExactErrorAndWarningSeveritiesCount) {
  EXPECT_EQ(describe({finding("styleOnly", "style"), finding("info", "information"), finding("x", "Error")}), "");
  EXPECT_EQ(describe({}), "");
}

TEST(UnmappedCounts, MappedIdsPlainOrPrefixedAreKnownButNotDoublyPrefixedOrOtherCase) {
  EXPECT_EQ(describe({finding("nullPointer", "error"), finding("solvane-memleak", "warning"),
                      finding("solvane-solvane-memleak", "error"), finding("NullPointer", "error")}),
            "error NullPointer 1\nerror solvane-solvane-memleak 1\n");
}

}  // namespace
}  // namespace guidegate
