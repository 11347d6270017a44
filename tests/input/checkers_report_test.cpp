// Reading the analyzer's plain-text checkers report.
#include "input/checkers_report.h"
#include "input/input_error.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace guidegate {
namespace {

namespace fs = std::filesystem;

// The label and flag of one line, or "-" when the line is not an entry.
std::string entry(std::string_view line) {
  std::string label = "(untouched)";
  bool ran = false;
  if (!parseCheckersReportLine(line, label, ran)) return "-";
  return (ran ? "Yes:" : "No:") + label;
}

TEST(CheckersReportLineTest, EntryLines) {
  EXPECT_EQ(entry("Yes  CheckOther::checkUnreachableCode"), "Yes:CheckOther::checkUnreachableCode");
  EXPECT_EQ(entry("No   CheckX::checkY    --addon=misra"), "No:CheckX::checkY");
  EXPECT_EQ(entry("No   CheckX::checkY  "), "No:CheckX::checkY");
  EXPECT_EQ(entry("Yes Misra C 2012: Dir 4.3"), "Yes:Misra C 2012: Dir 4.3");
  EXPECT_EQ(entry("No such check was run  (see below)"), "No:such check was run");
  EXPECT_EQ(entry("Yes \tCheckA::run"), "Yes:\tCheckA::run");
  EXPECT_EQ(entry("Yes x"), "Yes:x");
  EXPECT_EQ(entry("No x "), "No:x ");
}

TEST(CheckersReportLineTest, LinesThatAreNotEntries) {
  for (const char* line : {"", "Yes", "Yes ", "No x", "Not CheckA::run", "Yes\tCheckA::run", "yes CheckA::run",
                           " Yes CheckA::run", "Checkers report", "-----------", "No     ", "Yes       "})
    EXPECT_EQ(entry(line), "-") << '"' << line << '"';
}

class CheckersReportFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("guidegate-checkers-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  CheckersRun read(const std::string& content) {
    const auto path = (dir_ / "checkers.txt").string();
    std::ofstream(path, std::ios::binary) << content;
    return readCheckersReport(path);
  }

  fs::path dir_;
};

TEST_F(CheckersReportFileTest, ReadsEntriesAndSkipsTheRest) {
  const auto run = read(
      "Checkers report\n"
      "===============\n"
      "\n"
      "Yes  CheckOther::checkUnreachableCode\r\n"
      "No   CheckX::checkY                      --addon\r\n"
      "Yes Misra C 2012: Dir 4.3\n"
      "Not run: CheckZ::never\n"
      "Yes\n"
      "No x\n"
      "Yes CheckLast::withoutNewline");
  EXPECT_EQ(run, (CheckersRun{{"CheckOther::checkUnreachableCode", true},
                              {"CheckX::checkY", false},
                              {"Misra C 2012: Dir 4.3", true},
                              {"CheckLast::withoutNewline", true}}));
}

TEST_F(CheckersReportFileTest, LastLineForALabelWins) {
  EXPECT_EQ(read("No  CheckA::run\nYes  CheckA::run\n"), (CheckersRun{{"CheckA::run", true}}));
  EXPECT_EQ(read("Yes  CheckA::run\nNo  CheckA::run\n"), (CheckersRun{{"CheckA::run", false}}));
}

TEST_F(CheckersReportFileTest, MissingFileIsAnInputError) {
  try {
    readCheckersReport((dir_ / "missing.txt").string());
    FAIL() << "no error";
  } catch (const InputError& error) {
    EXPECT_STREQ(error.what(), "Configuration: --checkers-report file not found");
  }
}

}  // namespace
}  // namespace guidegate
