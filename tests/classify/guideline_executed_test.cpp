#include "classify/guideline_executed.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace guidegate {
namespace {

// Runs the execution test for one row and keeps what it printed.
struct Probe {
  CheckersRun run{{"Unrelated::label", true}};
  std::string printed;

  bool executed(const std::string& rowId, const std::string& mappedIds) {
    std::ostringstream diagnostics;
    const bool result = guidelineExecuted(run, Guideline{rowId, "", mappedIds}, diagnostics);
    printed += diagnostics.str();
    return result;
  }
};

// The answer for `id` on `rowId` when `label` is absent, present with false and present with true.
void expectDecidedBy(const std::string& rowId, const std::string& id, const std::string& label) {
  Probe probe;
  EXPECT_FALSE(probe.executed(rowId, id)) << id << " without " << label;
  probe.run[label] = false;
  EXPECT_FALSE(probe.executed(rowId, id)) << id << " with " << label << " not run";
  probe.run[label] = true;
  EXPECT_TRUE(probe.executed(rowId, id)) << id << " with " << label << " run";
  EXPECT_EQ(probe.printed, "");
}

TEST(GuidelineExecuted, EmptyCheckersRunAnswersFalseWithoutPrinting) {
  Probe probe;
  probe.run.clear();
  EXPECT_FALSE(probe.executed("1.1", "syntaxError"));
  EXPECT_FALSE(probe.executed("X", "misra-config,nullPointer"));
  EXPECT_FALSE(probe.executed("X", "error"));
  EXPECT_EQ(probe.printed, "");
}

TEST(GuidelineExecuted, RowWithoutIdsIsNotExecuted) {
  Probe probe;
  EXPECT_FALSE(probe.executed("Dir 1.1", ""));
  EXPECT_FALSE(probe.executed("2.1", " , "));
  EXPECT_EQ(probe.printed, "");
}

TEST(GuidelineExecuted, CertCLabelIsTheUpperCasedTailOfTheId) {
  expectDecidedBy("INT35", "solvane-cert-int35-c", "Cert C: INT35-C");
  expectDecidedBy("INT35", "cert-int35-c", "Cert C: INT35-C");
  // Built from the id's last seven characters alone, whatever the row.
  expectDecidedBy("PRE30", "solvane-cert-int35-c", "Cert C: INT35-C");
  expectDecidedBy("X", "solvane-cert-abcint35-c", "Cert C: INT35-C");
  expectDecidedBy("X", "solvane-cert-ms3-c", "Cert C: T-MS3-C");
}

TEST(GuidelineExecuted, CertCppLabelIsTheRowKeyNotTheId) {
  expectDecidedBy("DCL50", "solvane-cert-dcl50-cpp", "Cert C++: DCL50-CPP");
  expectDecidedBy("DCL51", "solvane-cert-dcl50-cpp", "Cert C++: DCL51-CPP");
  expectDecidedBy("Dir 7", "cert-x-cpp", "Cert C++: 7-CPP");
}

TEST(GuidelineExecuted, AutosarLabelIsTheRowKey) {
  expectDecidedBy("A1-1-1", "autosar-a1-1-1", "Autosar: A1-1-1");
  expectDecidedBy("Dir 2", "solvane-autosar-anything", "Autosar: 2");
}

TEST(GuidelineExecuted, MisraCIdsTryThe2012LabelAndThenThe2023Label) {
  for (const std::string edition : {"2012", "2023"}) {
    expectDecidedBy("Dir 4.3", "misra-c2012-dir-4.3", "Misra C " + edition + ": Dir 4.3");
    expectDecidedBy("Dir 4.3", "misra-c2023-dir-4.3", "Misra C " + edition + ": Dir 4.3");
    expectDecidedBy("1.2", "misra-c2023-1.2", "Misra C " + edition + ": 1.2");
    expectDecidedBy("8.10", "solvane-misra-c2012-8.10", "Misra C " + edition + ": 8.10");
    // Built from the id, not the row.
    expectDecidedBy("Other", "misra-c2012-8.4", "Misra C " + edition + ": 8.4");
  }
  Probe probe;
  probe.run = {{"Misra C 2012: 8.4", false}, {"Misra C 2023: 8.4", true}};
  EXPECT_TRUE(probe.executed("8.4", "misra-c2012-8.4"));
  probe.run = {{"Misra C 2012: 8.4", false}, {"Misra C 2023: 8.4", false}};
  EXPECT_FALSE(probe.executed("8.4", "misra-c2012-8.4"));
  EXPECT_EQ(probe.printed, "");
}

TEST(GuidelineExecuted, MisraCpp2008TriesThePlainAndThenTheMRowKey) {
  expectDecidedBy("0-1-4", "misra-cpp-2008-0-1-4", "Misra C++ 2008: 0-1-4");
  expectDecidedBy("0-1-4", "misra-cpp-2008-0-1-4", "Misra C++ 2008: M0-1-4");
  expectDecidedBy("0-1-4", "solvane-misra-cpp-2008-9-9-9", "Misra C++ 2008: M0-1-4");
  Probe probe;
  probe.run = {{"Misra C++ 2008: 0-1-4", false}, {"Misra C++ 2008: M0-1-4", true}};
  EXPECT_TRUE(probe.executed("0-1-4", "misra-cpp-2008-0-1-4"));
}

TEST(GuidelineExecuted, MisraCpp2023LabelIsTheRowKey) {
  expectDecidedBy("0.1.2", "misra-cpp-2023-0.1.2", "Misra C++ 2023: 0.1.2");
  expectDecidedBy("Dir 0.3.1", "misra-cpp-2023-0.3.1", "Misra C++ 2023: 0.3.1");
}

TEST(GuidelineExecuted, CoreIdsAreTranslatedByTheCheckerNameTable) {
  expectDecidedBy("2.1", "unreachableCode", "CheckOther::checkUnreachableCode");
  expectDecidedBy("2.1", "duplicateBreak", "CheckOther::checkUnreachableCode");
  Probe probe;
  EXPECT_TRUE(probe.executed("1.1", "nullPointer"));
  EXPECT_TRUE(probe.executed("1.3", "error"));
  // The whole id is looked up, prefix included.
  EXPECT_FALSE(probe.executed("X", "solvane-nullPointer"));
  EXPECT_EQ(probe.printed, "Internal error: id solvane-nullPointer missing mapping\n");
}

TEST(GuidelineExecuted, TheEmptyLabelOfSizeofSideEffectsNeverRuns) {
  Probe probe;
  probe.run[""] = true;
  EXPECT_FALSE(probe.executed("13.6", "sizeofSideEffects"));
  EXPECT_EQ(probe.printed, "");
}

TEST(GuidelineExecuted, UnmappedIdIsReportedEachTimeAndALaterIdCanStillDecide) {
  Probe probe;
  EXPECT_FALSE(probe.executed("X", "misra-config"));
  EXPECT_EQ(probe.printed, "Internal error: id misra-config missing mapping\n");
  probe.printed.clear();
  EXPECT_TRUE(probe.executed("X", "misra-config,uninitvar"));
  EXPECT_TRUE(probe.executed("X", "misra-config, memleakOnRealloc,memleak"));
  EXPECT_EQ(probe.printed,
            "Internal error: id misra-config missing mapping\n"
            "Internal error: id misra-config missing mapping\n"
            "Internal error: id memleakOnRealloc missing mapping\n");
}

TEST(GuidelineExecuted, StopsAtTheFirstIdThatProvesExecution) {
  Probe probe;
  EXPECT_TRUE(probe.executed("22.1", "memleak,memleakOnRealloc"));
  probe.run["Misra C 2012: 8.4"] = true;
  EXPECT_TRUE(probe.executed("8.4", "misra-c2012-8.4,misra-config"));
  EXPECT_EQ(probe.printed, "");
}

TEST(GuidelineExecuted, CertIdEndingInNeitherCNorCppFallsToTheCheckerNameTable) {
  Probe probe;
  probe.run["Cert C: ABC12-X"] = true;
  probe.run["Cert C++: ABC12-CPP"] = true;
  EXPECT_FALSE(probe.executed("ABC12", "solvane-cert-abc12-x"));
  EXPECT_EQ(probe.printed, "Internal error: id solvane-cert-abc12-x missing mapping\n");
}

}  // namespace
}  // namespace guidegate
