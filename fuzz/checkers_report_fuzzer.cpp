// Feeds arbitrary bytes to the checkers report reader, both as a whole file and as
// one line.
#include <string>
#include <string_view>

#include "input/checkers_report.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using guidegate::fuzz::fail;
  static const guidegate::fuzz::ScratchFile report("checkers.txt");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  std::string label;
  bool ran = false;
  if (guidegate::parseCheckersReportLine(bytes, label, ran)) {
    // The label is a non-empty piece of the line after its flag word, without a
    // double space, and the flag follows the first letter.
    if (label.empty() || label.front() == ' ') fail("a label that begins with a space");
    if (label.find("  ") != std::string::npos) fail("a label holding two spaces");
    if (bytes.find(label, 3) == std::string_view::npos) fail("a label that is not part of the line");
    if (ran != (bytes.front() == 'Y')) fail("a flag that does not follow the line");
  }

  const guidegate::CheckersRun checkersRun = guidegate::readCheckersReport(report.write(bytes));
  for (const auto& [name, flag] : checkersRun) {
    if (name.empty() || name.find('\n') != std::string::npos) fail("a label spanning lines");
    if (bytes.find(name) == std::string_view::npos) fail("a label that is not in the file");
  }
  return 0;
}
