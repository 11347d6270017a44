// Feeds arbitrary bytes to the baseline reader, as text and as a file: it either reads
// a baseline or raises InputError, and the counts it reads add up to at most INT_MAX.
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "input/baseline_file.h"
#include "input/input_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using guidegate::fuzz::fail;
  static const guidegate::fuzz::ScratchFile baseline("baseline.json");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  bool parsed = false;
  try {
    const guidegate::BaselineFile read = guidegate::parseBaseline(bytes, "--cwe-top25");
    parsed = true;
    long long total = 0;
    for (const auto& guideline : read.guidelines)
      for (const auto& key : guideline.findingCounts) {
        if (key.count < 0 || key.accepted < 0) fail("a negative count");
        total += static_cast<long long>(key.count) + key.accepted;
      }
    if (total > INT_MAX) fail("counts that add up to more than INT_MAX");
  } catch (const guidegate::InputError& error) {
    if (std::string_view(error.what()).empty()) fail("an error without a reason");
  }

  const std::string path = baseline.write(bytes);
  try {
    guidegate::readBaselineInput(path, "--cwe-top25", guidegate::Digest::Sha256);
    if (!parsed) fail("a file read that its text was not");
  } catch (const guidegate::InputError& error) {
    if (parsed) fail("a file refused whose text was read");
    if (!std::string_view(error.what()).starts_with("Invalid baseline file:" + path + ": "))
      fail("an error that does not name the baseline file");
  }
  return 0;
}
