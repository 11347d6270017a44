// guidegate: turns the analyzer's XML results into a Compliance Report.
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "driver/run.h"

int main(int argc, char* argv[]) {
  std::vector<std::string> arguments(argv, argv + argc);
  return guidegate::runGuidegate(arguments, std::cout, std::cerr, std::time(nullptr));
}
