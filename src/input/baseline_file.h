// A JSON report of an earlier run, read as the baseline of this one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "input/input_digest.h"

namespace guidegate {

// The number of findings of one guideline with one key, as an earlier run counted them.
struct BaselineCount {
  std::string id;    // analyzer id
  std::string file;  // the file of the first location, as the earlier run keyed it
  int count = 0;     // findings that counted against the guideline
  int accepted = 0;  // findings accepted by a remark
};

struct BaselineGuideline {
  std::string id;  // as the JSON report names it
  bool executed = false;
  std::vector<BaselineCount> findingCounts;
};

struct BaselineFile {
  std::vector<BaselineGuideline> guidelines;  // in the order the file lists them
};

// The JSON report of schema version `baselineSchemaVersion` at `path` that a run of
// the standard with the main flag `standardFlag` wrote. Throws InputError
// "Invalid baseline file:" + path + ": " + the reason when the file cannot be read,
// is not such a report or was written for another standard. The counts of the whole
// file add up to at most INT_MAX.
ReadInput<BaselineFile> readBaselineInput(const std::string& path, std::string_view standardFlag, Digest digest);

// As readBaselineInput, from the text of the file; the InputError says only the reason.
BaselineFile parseBaseline(std::string_view content, std::string_view standardFlag);

// The schema version of the JSON report that this version writes and reads as a baseline.
inline constexpr int baselineSchemaVersion = 3;

}  // namespace guidegate
