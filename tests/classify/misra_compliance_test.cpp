// Resolving a recategorization plan against a standard's guidelines: what MISRA
// Compliance:2020 lets a plan do, and how it names the guideline of each line.
#include "classify/misra_compliance.h"

#include <gtest/gtest.h>

#include "input/input_error.h"

namespace guidegate {
namespace {

const std::vector<PlanGuideline> guidelines = {{"Dir 4.9", "Dir 4.9", MisraCategory::Advisory},
                                               {"9.1", "Rule 9.1", MisraCategory::Mandatory},
                                               {"10.4", "Rule 10.4", MisraCategory::Required},
                                               {"15.5", "Rule 15.5", MisraCategory::Advisory}};

std::string refusal(std::vector<PlanEntry> plan, CodingStandard standard = CodingStandard::MisraC2023) {
  try {
    resolveRecategorizationPlan(standard, guidelines, "grp.txt", plan);
  } catch (const InputError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(RecategorizationPlanResolution, NamesAGuidelineByIdOrLabelAndACategoryInAnyCase) {
  const auto plan = resolveRecategorizationPlan(
      CodingStandard::MisraC2023, guidelines, "grp.txt",
      {{1, "rule 10.4", "MANDATORY"}, {2, "15.5", "disapplied"}, {4, "DIR 4.9", "Required"}, {5, "Rule 9.1", "mandatory"}});
  ASSERT_EQ(plan.size(), 4u);
  EXPECT_EQ(plan[0].id, "10.4");
  EXPECT_EQ(plan[0].revised, MisraCategory::Mandatory);
  EXPECT_EQ(plan[1].id, "15.5");
  EXPECT_EQ(plan[1].revised, MisraCategory::Disapplied);
  EXPECT_EQ(plan[2].id, "Dir 4.9");
  EXPECT_EQ(plan[2].revised, MisraCategory::Required);
  EXPECT_EQ(plan[3].revised, MisraCategory::Mandatory);  // its own category: no change
}

TEST(RecategorizationPlanResolution, AllowsOnlyStricterCategoriesAndDisapplyingAdvisoryOnes) {
  EXPECT_EQ(refusal({{3, "Rule 10.4", "Advisory"}}),
            "Invalid recategorization plan:grp.txt:3: Required guideline Rule 10.4 cannot become Advisory (a plan may "
            "only make a guideline stricter)");
  EXPECT_EQ(refusal({{1, "9.1", "Advisory"}}),
            "Invalid recategorization plan:grp.txt:1: Mandatory guideline Rule 9.1 cannot become Advisory (a plan may "
            "only make a guideline stricter)");
  EXPECT_EQ(refusal({{2, "10.4", "Disapplied"}}),
            "Invalid recategorization plan:grp.txt:2: Required guideline Rule 10.4 cannot be Disapplied (only an "
            "Advisory guideline can)");
  EXPECT_EQ(refusal({{2, "Rule 9.1", "Disapplied"}}),
            "Invalid recategorization plan:grp.txt:2: Mandatory guideline Rule 9.1 cannot be Disapplied (only an "
            "Advisory guideline can)");
}

TEST(RecategorizationPlanResolution, RefusesUnknownNamesRepeatsAndOtherStandards) {
  EXPECT_EQ(refusal({{7, "Rule 4.9", "Required"}}),
            "Invalid recategorization plan:grp.txt:7: unknown guideline Rule 4.9 (not in Misra C 2023)");
  EXPECT_EQ(refusal({{1, "Rule 10.4", "Optional"}}),
            "Invalid recategorization plan:grp.txt:1: unknown category Optional (Mandatory, Required, Advisory or "
            "Disapplied)");
  EXPECT_EQ(refusal({{2, "Rule\x1b[2J 1.1", "Required"}}),
            "Invalid recategorization plan:grp.txt:2: unknown guideline Rule\\x1b[2J 1.1 (not in Misra C 2023)");
  // The same guideline twice, named once by id and once by label.
  EXPECT_EQ(refusal({{2, "10.4", "Required"}, {5, "Rule 10.4", "Mandatory"}}),
            "Invalid recategorization plan:grp.txt:5: Rule 10.4 is listed twice (first on line 2)");
  EXPECT_EQ(refusal({{4, "INT30-C", "Required"}}, CodingStandard::CertC),
            "Invalid recategorization plan:grp.txt:4: a recategorization plan applies to a MISRA standard only, not to "
            "Cert C 2016");
}

}  // namespace
}  // namespace guidegate
