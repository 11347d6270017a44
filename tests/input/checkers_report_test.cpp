// Reading the analyzer's plain-text checkers report.
#include "input/checkers_report.h"
#include "input/files_list.h"
#include "input/input_error.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

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

// The message an input reader raises for `path`, or "" when it reads it.
std::string failure(const std::function<void(const std::string&)>& reader, const std::string& path) {
  try {
    reader(path);
    return "";
  } catch (const InputError& error) {
    return error.what();
  }
}

// Both plain-text inputs refuse devices (an endless /dev/zero or /dev/urandom would be
// read until memory runs out) and fail on a read error instead of taking what came
// before it; they read FIFOs and pipes (process substitution) to their end.
TEST_F(CheckersReportFileTest, DevicesAndReadErrorsFailBothTextInputs) {
  const std::vector<std::pair<std::string, std::function<void(const std::string&)>>> readers = {
      {"checkers report", [](const std::string& path) { readCheckersReport(path); }},
      {"files list", [](const std::string& path) { readFilesList(path); }}};
  for (const auto& [name, reader] : readers) {
    SCOPED_TRACE(name);
    for (const std::string device : {"/dev/zero", "/dev/urandom", "/dev/null"})
      EXPECT_EQ(failure(reader, device), "Failed to open file:" + device);
    // Reading the start of its own memory fails with an I/O error.
    EXPECT_EQ(failure(reader, "/proc/self/mem"), "Failed to open file:/proc/self/mem");
  }
}

TEST_F(CheckersReportFileTest, FifosAndPipesAreReadToTheirEnd) {
  const std::string padding(200000, '#');
  const auto fifo = (dir_ / "checkers.fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << padding << "\nYes  CheckLast::afterPadding\n"; });
  const CheckersRun run = readCheckersReport(fifo);
  writer.join();
  EXPECT_EQ(run, (CheckersRun{{"CheckLast::afterPadding", true}}));

  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const std::string list = padding + "\nd41d8cd98f00b204e9800998ecf8427e  src/last.c\n";
  std::thread feeder([&] {
    for (std::size_t at = 0; at < list.size();) {
      const auto written = ::write(ends[1], list.data() + at, list.size() - at);
      if (written <= 0) break;
      at += static_cast<std::size_t>(written);
    }
    ::close(ends[1]);
  });
  const auto files = readFilesList("/dev/fd/" + std::to_string(ends[0]));
  feeder.join();
  ::close(ends[0]);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].fileName, "src/last.c");
}

}  // namespace
}  // namespace guidegate
