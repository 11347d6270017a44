// Parsing the command line and the usage message.
#include "driver/command_line.h"

#include <gtest/gtest.h>

namespace guidegate {
namespace {

using Outcome = ParsedCommandLine::Outcome;

ParsedCommandLine parse(std::vector<std::string> arguments) { return parseCommandLine(arguments); }

TEST(CommandLineTest, StandardFlagsAndAliases) {
  const std::vector<std::pair<std::string, CodingStandard>> flags = {
      {"--cert-c", CodingStandard::CertC},          {"--cert-c-2016", CodingStandard::CertC},
      {"--cert-c++", CodingStandard::CertCpp},      {"--cert-c++-2016", CodingStandard::CertCpp},
      {"--misra-c-2012", CodingStandard::MisraC2012}, {"--misra-c-2023", CodingStandard::MisraC2023},
      {"--misra-c++-2008", CodingStandard::MisraCpp2008}, {"--misra-c++-2023", CodingStandard::MisraCpp2023},
      {"--cwe-top25", CodingStandard::CweTop25}};
  for (const auto& [flag, standard] : flags) {
    const auto parsed = parse({flag, "results.xml"});
    EXPECT_EQ(parsed.outcome, Outcome::Run) << flag;
    EXPECT_EQ(parsed.options.standard, standard) << flag;
  }
  EXPECT_EQ(parse({"results.xml"}).options.standard, CodingStandard::MisraC2023);
  EXPECT_EQ(parse({"--misra-c-2012", "results.xml", "--cert-c"}).options.standard, CodingStandard::CertC);
}

TEST(CommandLineTest, OptionValuesTakenUnchanged) {
  const auto parsed = parse({"--checkers-report=checkers.txt", "--files=md5.txt", "--output-file= out.html",
                             "--project-name=My Project", "--project-version=1.0=rc", "results.xml"});
  ASSERT_EQ(parsed.outcome, Outcome::Run);
  const auto& options = parsed.options;
  EXPECT_EQ(options.checkersReport, "checkers.txt");
  EXPECT_EQ(options.filesList, "md5.txt");
  EXPECT_EQ(options.outputFile, " out.html");
  EXPECT_EQ(options.projectName, "My Project");
  EXPECT_EQ(options.projectVersion, "1.0=rc");
  EXPECT_TRUE(options.suppressions.empty());
  EXPECT_EQ(options.resultsFile, "results.xml");

  const auto defaults = parse({"results.xml"}).options;
  EXPECT_FALSE(defaults.checkersReport || defaults.filesList || defaults.outputFile || defaults.projectName ||
               defaults.projectVersion);

  const auto empty = parse({"--checkers-report=", "--files=", "--output-file=", "--project-name=",
                            "--project-version=", "--suppressions=", "r.xml"})
                         .options;
  EXPECT_EQ(empty.checkersReport, "");
  EXPECT_EQ(empty.filesList, "");
  EXPECT_EQ(empty.outputFile, "");
  EXPECT_EQ(empty.projectName, "");
  EXPECT_EQ(empty.projectVersion, "");
  EXPECT_TRUE(empty.suppressions.empty());
}

TEST(CommandLineTest, RepeatedOptions) {
  const auto options = parse({"--output-file=a.html", "--files=1.txt", "r.xml", "--output-file=b.html",
                              "--files=2.txt"})
                           .options;
  EXPECT_EQ(options.outputFile, "b.html");
  EXPECT_EQ(options.filesList, "2.txt");
  EXPECT_EQ(parse({"--suppressions=x", "--suppressions=x", "r.xml"}).options.suppressions, SuppressionSet{"x"});
  EXPECT_EQ(parse({"--suppressions=a", "r.xml", "--suppressions=b, c"}).options.suppressions,
            (SuppressionSet{"a", "b", " c"}));
}

TEST(CommandLineTest, UnknownOptionStopsParsing) {
  const auto afterResults = parse({"results.xml", "-x", "--also-unknown"});
  EXPECT_EQ(afterResults.outcome, Outcome::UnknownOption);
  EXPECT_EQ(afterResults.unknownOption, "-x");
  for (const char* argument : {"-", "--files", "--cert-cx", "--cert-c++x", "--Files=a", "--output-file", "--"}) {
    const auto parsed = parse({argument, "results.xml"});
    EXPECT_EQ(parsed.outcome, Outcome::UnknownOption) << argument;
    EXPECT_EQ(parsed.unknownOption, argument);
  }
}

TEST(CommandLineTest, ResultsFileAndUsage) {
  EXPECT_EQ(parse({"first.xml", "second.xml"}).options.resultsFile, "second.xml");
  const auto empty = parse({""});
  EXPECT_EQ(empty.outcome, Outcome::Run);
  EXPECT_EQ(empty.options.resultsFile, "");
  EXPECT_EQ(parse({"--cert-c", "--files=md5.txt"}).outcome, Outcome::Usage);
  EXPECT_EQ(parse({}).outcome, Outcome::Usage);
}

// --gate= takes report, new or misra-compliance, the last one given; the MISRA-only
// options are refused for the other standards once the whole line is read.
TEST(CommandLineTest, GatesAndMisraOnlyOptions) {
  using Outcome = ParsedCommandLine::Outcome;
  auto parsed = parseCommandLine({"--gate=misra-compliance", "r.xml"});
  EXPECT_EQ(parsed.outcome, Outcome::Run);
  EXPECT_EQ(parsed.options.gate, Gate::MisraCompliance);
  EXPECT_EQ(parseCommandLine({"--gate=new", "--gate=report", "r.xml"}).options.gate, Gate::Report);
  EXPECT_EQ(parseCommandLine({"r.xml"}).options.gate, Gate::Report);
  EXPECT_EQ(parseCommandLine({"--gate=misra-compliance", "--gate=new", "r.xml"}).outcome, Outcome::GateWithoutBaseline);
  EXPECT_EQ(parseCommandLine({"--gate=Misra-Compliance", "r.xml"}).outcome, Outcome::InvalidGate);

  parsed = parseCommandLine({"--compliance-summary=s.html", "--recategorization-plan=p.txt", "--misra-c++-2008", "r.xml"});
  EXPECT_EQ(parsed.outcome, Outcome::Run);
  EXPECT_EQ(parsed.options.complianceSummary, "s.html");
  EXPECT_EQ(parsed.options.recategorizationPlan, "p.txt");
  // The standard given after the option counts.
  parsed = parseCommandLine({"--compliance-summary=s.html", "--cert-c++", "r.xml"});
  EXPECT_EQ(parsed.outcome, Outcome::MisraOnly);
  EXPECT_EQ(parsed.misraOnlyOption, "--compliance-summary=");
  parsed = parseCommandLine({"--cwe-top25", "--gate=misra-compliance", "r.xml"});
  EXPECT_EQ(parsed.outcome, Outcome::MisraOnly);
  EXPECT_EQ(parsed.misraOnlyOption, "--gate=misra-compliance");
  // A plan for another standard is refused with the plan's own message, once it is read.
  EXPECT_EQ(parseCommandLine({"--cert-c", "--recategorization-plan=p.txt", "r.xml"}).outcome, Outcome::Run);
}

TEST(CommandLineTest, UsageText) {
  EXPECT_EQ(usageText("./bin/guidegate"),
            "Syntax: ./bin/guidegate [--cert-c] [--cert-c++] [--cwe-top25] [--misra-c-2012] [--misra-c-2023] "
            "[--misra-c++-2008] [--misra-c++-2023] [--files=X] [--output-file=X] [--project-name=X] "
            "[--project-version=X] <report.xml>\n");
}

}  // namespace
}  // namespace guidegate
