// The recategorization plan's lines: "GUIDELINE, CATEGORY", blank and "#" lines ignored,
// each refusal naming its line as the file numbers it.
#include "input/recategorization_plan.h"

#include <gtest/gtest.h>

#include "input/input_error.h"

namespace guidegate {
namespace {

std::string refusal(std::string_view content) {
  try {
    parseRecategorizationPlan("plan.txt", content);
  } catch (const InputError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(RecategorizationPlan, TakesEachLineOnceWithoutBlanksAroundItsParts) {
  const auto entries = parseRecategorizationPlan(
      "plan.txt", "# plan\r\n\r\n  Rule 10.4 ,\tMandatory \r\n\t# indented comment\n   \n15.5,disapplied");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].line, 3);
  EXPECT_EQ(entries[0].guideline, "Rule 10.4");
  EXPECT_EQ(entries[0].category, "Mandatory");
  EXPECT_EQ(entries[1].line, 6);
  EXPECT_EQ(entries[1].guideline, "15.5");
  EXPECT_EQ(entries[1].category, "disapplied");
  EXPECT_TRUE(parseRecategorizationPlan("plan.txt", "").empty());
  EXPECT_TRUE(parseRecategorizationPlan("plan.txt", "#only, a comment\n\n").empty());
}

TEST(RecategorizationPlan, RefusesALineThatIsNotGuidelineCommaCategory) {
  EXPECT_EQ(refusal("Rule 10.4, Required\nRule 10.5 Required\n"),
            "Invalid recategorization plan:plan.txt:2: expected GUIDELINE, CATEGORY");
  EXPECT_EQ(refusal(" , Required"), "Invalid recategorization plan:plan.txt:1: no guideline before the comma");
  EXPECT_EQ(refusal("\n\nRule 10.4,\t"), "Invalid recategorization plan:plan.txt:3: no category after the comma");
  EXPECT_EQ(refusal("Rule 10.4, Required, Mandatory"), "Invalid recategorization plan:plan.txt:1: more than one comma");
  // A "#" later in a line does not make it a comment.
  EXPECT_EQ(refusal("Rule 10.4 # Required"), "Invalid recategorization plan:plan.txt:1: expected GUIDELINE, CATEGORY");
}

}  // namespace
}  // namespace guidegate
