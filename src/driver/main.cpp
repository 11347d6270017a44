// guidegate: turns the analyzer's XML results into a Compliance Report.
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "driver/run.h"

int main(int argc, char* argv[]) {
  std::vector<std::string> arguments(argv, argv + argc);
  guidegate::RunEnvironment environment;
  environment.now = std::time(nullptr);
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) environment.sourceDateEpoch = epoch;
  return guidegate::runGuidegate(arguments, std::cout, std::cerr, environment);
}
