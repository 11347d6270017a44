// The date line of a run without SOURCE_DATE_EPOCH: the golden cases of tests/e2e/cases all
// run at a fixed moment, so only here does a report carry the day it was made.
#include <gtest/gtest.h>
#include <time.h>

#include <ctime>

#include "e2e/e2e_support.h"

namespace e2e {
namespace {

// The line a report made today (UTC) carries.
std::string dateLineOfToday() {
  const std::time_t now = std::time(nullptr);
  std::tm day{};
  ::gmtime_r(&now, &day);
  char text[64];
  std::strftime(text, sizeof text, "\nDate: %d %B %Y<br>\n", &day);
  return text;
}

TEST(SourceDateEpoch, WithoutItTheReportCarriesTheDayOfTheRun) {
  ::unsetenv("SOURCE_DATE_EPOCH");
  Workspace workspace;
  workspace.write("results.xml", resultsXml("<safety/>\n<errors>\n</errors>\n"));
  const std::string before = dateLineOfToday();
  const RunResult run = workspace.run({"--cert-c", "results.xml"});
  const std::string after = dateLineOfToday();  // the run may cross midnight
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
  const std::string report = workspace.read("cert-c-compliance-report.html");
  EXPECT_TRUE(report.find(before) != std::string::npos || report.find(after) != std::string::npos) << before;
}

}  // namespace
}  // namespace e2e
