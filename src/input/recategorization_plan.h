// The project's Guideline Re-categorization Plan: one guideline and its revised
// category per line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "input/input_digest.h"

namespace guidegate {

// One line of a plan that names a guideline, as written: the catalogue is not consulted.
struct PlanEntry {
  int line = 0;           // 1-based
  std::string guideline;  // the text before the first comma, without surrounding blanks
  std::string category;   // the text after it, without surrounding blanks
};

// The plan read from `content`: every line that is neither blank nor begins with "#"
// (after blanks) must be "GUIDELINE, CATEGORY" with both parts not empty and no second
// comma; otherwise InputError("Invalid recategorization plan:" + path + ":" + line +
// ": " + reason).
std::vector<PlanEntry> parseRecategorizationPlan(const std::string& path, std::string_view content);

// Reads the plan at `path` (InputError("Failed to open file:" + path) when it cannot be
// read); with Digest::Sha256 also the digest of the bytes it read.
ReadInput<std::vector<PlanEntry>> readRecategorizationPlanInput(const std::string& path, Digest digest);

}  // namespace guidegate
