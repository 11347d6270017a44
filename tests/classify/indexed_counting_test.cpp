// Checks the indexed look-ups of classification against a plain scan of every finding
// and every suppression, over a large generated results document.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "catalogues/tables.h"
#include "classify/evaluation.h"
#include "classify/guideline_status.h"
#include "classify/id_list.h"
#include "classify/suppressions.h"

namespace guidegate {
namespace {

// A small deterministic generator (the same sequence on every platform).
struct Generator {
  std::uint64_t state = 0x9E3779B97F4A7C15ull;
  std::uint32_t next(std::uint32_t bound) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(state >> 33) % bound;
  }
};

const std::vector<GuidelineCatalogue>& catalogues() {
  static const std::vector<GuidelineCatalogue> all = {
      certCCatalogue, misraC2012Catalogue, misraCpp2008Catalogue,
      GuidelineCatalogue{{"S1", "", "nullPointer,solvane-misra-c2012-8.4"},
                         {"S2", "", "misra-c2012-8.4, misra-c2012-8.4"},
                         {"S3", "", "solvane-misra-c2023-1.2,cert-int30-c,misra-config"},
                         {"S1", "", "uninitvar,misra-c2023-dir-4.3"},
                         {"S4", "", "error"},
                         {"S5", "", ""}}};
  return all;
}

// Core ids, both MISRA C finding forms, prefixed and doubly prefixed ids, and ids of
// real catalogue rows.
std::vector<std::string> idPool() {
  std::vector<std::string> pool = {"nullPointer", "uninitvar", "memleak", "comparePointers", "misra-config",
                                   "cert-int30-c", "x", "misra-c2012-8.4", "misra-c2023-1.2",
                                   "misra-c2023-dir-4.3", "solvane-misra-c2012-8.4"};
  for (const auto& catalogue : catalogues())
    for (std::size_t row = 0; row < catalogue.size(); row += 9)
      for (const auto& id : splitIdList(catalogue[row].mappedIds)) pool.push_back(id);
  const std::size_t bases = pool.size();
  for (std::size_t i = 0; i < bases; ++i) {
    const std::string prefixed = "solvane-" + pool[i];
    pool.push_back(prefixed);
    if (prefixed.starts_with("solvane-misra-c20")) pool.push_back("solvane-misra-c-" + prefixed.substr(15));
  }
  return pool;
}

ResultsDocument generatedDocument() {
  const std::vector<std::string> pool = idPool();
  const char* const severities[] = {"error", "warning", "style"};
  Generator random;
  ResultsDocument document;
  for (int i = 0; i < 4000; ++i) {
    TextPool& texts = *document.texts;
    ResultRecord record{texts.intern(pool[random.next(static_cast<std::uint32_t>(pool.size()))]),
                        severities[random.next(3)], "", {}};
    const Location location{texts.intern("f" + std::to_string(random.next(5)) + ".c")};
    record.locations = document.places->keep({&location, 1});
    if (random.next(4) == 0) record.remark = texts.intern("remark " + std::to_string(i));
    document.results.push_back(record);
  }
  for (int i = 0; i < 300; ++i)
    document.suppressions.push_back(pool[random.next(static_cast<std::uint32_t>(pool.size() / 3))]);
  return document;
}

// Counting one id as the text reads: every finding with the id, or its dashed MISRA C
// edition form, counts unless remarked; remarked ones are filed in file order.
int scanCount(const ResultsDocument& document, const std::string& id, const std::string& guideline,
              AcceptedViolations& accepted) {
  std::string alternative = id;
  if (id.starts_with("solvane-misra-c20")) alternative = id.substr(0, 15) + "-" + id.substr(15);
  int count = 0;
  for (const auto& record : document.results) {
    if (record.id != id && record.id != alternative) continue;
    if (record.remark.empty())
      ++count;
    else
      accepted[guideline].push_back(record);
  }
  return count;
}

std::string scanSuppressed(const ResultsDocument& document, const std::string& mappedIds) {
  std::string listed;
  for (const auto& id : splitIdList(mappedIds))
    for (const auto& suppressed : document.suppressions) {
      if (suppressed == id) listed += ", " + id;
      if (suppressed == "solvane-" + id) listed += ", solvane-" + id;
    }
  return listed.empty() ? listed : listed.substr(2);
}

std::string describe(const std::vector<ResultRecord>& records) {
  std::string text;
  for (const auto& record : records) {
    (((((text += record.id) += "|") += record.severity) += "|") += record.remark);
    for (const auto& location : record.locations) (text += "|") += location.file;
    text += "\n";
  }
  return text;
}

std::string describe(const std::vector<IdCount>& counts) {
  std::string text;
  for (const auto& count : counts) text += count.id + "=" + std::to_string(count.count) + "\n";
  return text;
}

TEST(IndexedCounting, AgreesWithAPlainScanForEveryRow) {
  const ResultsDocument document = generatedDocument();
  const ResultsIndex index(document);
  int scannedErrors = 0, scannedWarnings = 0;
  for (const auto& record : document.results) {
    scannedErrors += record.severity == "error";
    scannedWarnings += record.severity == "warning";
  }
  const CheckersRun checkersRun{{"Unrelated::label", true}};
  const SuppressionSet noOption;
  const std::set<std::string> noneImplemented;
  std::ostringstream diagnostics;
  const ClassificationInputs inputs{index, checkersRun, noOption, noneImplemented, diagnostics};

  int violatedRows = 0, acceptedRows = 0, suppressedRows = 0;
  for (const auto& catalogue : catalogues()) {
    AcceptedViolations accepted, scannedAccepted;
    for (const auto& row : catalogue) {
      SCOPED_TRACE("guideline " + row.id + " mapping " + row.mappedIds);
      GuidelineVerdict verdict = guidelineStatus(row, inputs);
      fileAcceptedFindings(document, row, verdict, accepted);
      if (row.mappedIds == "error") {
        EXPECT_TRUE(verdict.judgedBySeverity);
        EXPECT_EQ(verdict.errorCount, scannedErrors);
        EXPECT_EQ(verdict.warningCount, scannedWarnings);
        continue;
      }
      std::vector<IdCount> scannedViolations;
      for (const auto& id : splitIdList(row.mappedIds))
        for (const std::string& form : {id, "solvane-" + id})
          if (int count = scanCount(document, form, row.id, scannedAccepted); count > 0)
            scannedViolations.push_back({form, count});
      EXPECT_EQ(describe(verdict.violations), describe(scannedViolations));
      EXPECT_EQ(describe(accepted[row.id]), describe(scannedAccepted[row.id]));
      const std::string scannedSuppressed = scanSuppressed(document, row.mappedIds);
      std::string listed;
      for (const auto& id : verdict.suppressedInResults) listed += (listed.empty() ? "" : ", ") + id;
      EXPECT_EQ(listed, scannedSuppressed);
      violatedRows += !scannedViolations.empty();
      acceptedRows += !scannedAccepted[row.id].empty();
      suppressedRows += !scannedSuppressed.empty();
    }
  }
  // The generated document must actually exercise all three paths.
  EXPECT_GT(violatedRows, 20);
  EXPECT_GT(acceptedRows, 20);
  EXPECT_GT(suppressedRows, 10);
}

TEST(CountById, CountsExactSeveritiesPerIdInAscendingOrder) {
  ResultsDocument document;
  document.results = {{"b", "error", "", {}},   {"a", "error", "", {}}, {"a", "warning", "", {}},
                      {"a", "error", "r", {}},  {"c", "Error", "", {}}, {"d", "style", "", {}}};
  const ResultsIndex index(document);
  using Counts = std::map<std::string, int>;
  EXPECT_EQ(countById(index, "error"), (Counts{{"a", 2}, {"b", 1}}));
  EXPECT_EQ(countById(index, "warning"), (Counts{{"a", 1}}));
  EXPECT_EQ(countById(index, "style"), Counts{});
}

}  // namespace
}  // namespace guidegate
