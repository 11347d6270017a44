// Feeds arbitrary bytes to the recategorization plan reader, then resolves what it read
// against the MISRA C 2023 guidelines. Either may refuse the plan, always with the
// "Invalid recategorization plan:" message and its line; what they accept is a plan
// whose entries have both parts, no surrounding blanks, and name each guideline once.
#include <set>
#include <string>
#include <string_view>

#include "classify/misra_compliance.h"
#include "fuzz_support.h"
#include "input/input_error.h"
#include "input/recategorization_plan.h"

namespace {

std::vector<guidegate::PlanGuideline> guidelines() {
  using guidegate::MisraCategory;
  return {{"Dir 4.9", "Dir 4.9", MisraCategory::Advisory},
          {"9.1", "Rule 9.1", MisraCategory::Mandatory},
          {"10.4", "Rule 10.4", MisraCategory::Required},
          {"15.5", "Rule 15.5", MisraCategory::Advisory}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using guidegate::fuzz::fail;
  static const std::vector<guidegate::PlanGuideline> known = guidelines();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string prefix = "Invalid recategorization plan:plan.txt:";
  std::vector<guidegate::PlanEntry> entries;
  try {
    entries = guidegate::parseRecategorizationPlan("plan.txt", bytes);
  } catch (const guidegate::InputError& error) {
    if (!std::string_view(error.what()).starts_with(prefix)) fail("a plan error without its prefix");
    return 0;
  }
  for (const auto& entry : entries) {
    if (entry.line < 1) fail("an entry without a line number");
    if (entry.guideline.empty() || entry.category.empty()) fail("an entry with an empty part");
    for (const std::string* part : {&entry.guideline, &entry.category})
      if (part->front() == ' ' || part->back() == ' ' || part->find('\n') != std::string::npos)
        fail("a part with blanks around it or spanning lines");
    if (entry.category.find(',') != std::string::npos) fail("a category holding a comma");
  }
  try {
    const auto plan = guidegate::resolveRecategorizationPlan(guidegate::CodingStandard::MisraC2023, known, "plan.txt",
                                                             entries);
    if (plan.size() != entries.size()) fail("an accepted plan that lost entries");
    std::set<std::string> ids;
    for (const auto& entry : plan)
      if (!ids.insert(entry.id).second) fail("an accepted plan naming a guideline twice");
  } catch (const guidegate::InputError& error) {
    if (!std::string_view(error.what()).starts_with(prefix)) fail("a plan error without its prefix");
  }
  return 0;
}
