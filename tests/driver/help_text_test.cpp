// --help and the manual page name every option and every exit status, the same ones,
// and the command line accepts each option they name.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "driver/command_line.h"

namespace guidegate {
namespace {

using Names = std::set<std::string>;

std::string manPage() {
  std::ifstream in(GUIDEGATE_MAN_PAGE_SOURCE);
  std::ostringstream text;
  text << in.rdbuf();
  // roff writes a minus as "\-".
  return std::regex_replace(text.str(), std::regex(R"(\\-)"), "-");
}

// The lines of `text` from the one equal to `heading` up to the next empty line (help)
// or the next section heading (manual page).
std::string section(const std::string& text, const std::string& heading, const std::string& end) {
  const auto begin = text.find(heading);
  if (begin == std::string::npos) return {};
  const auto stop = text.find(end, begin + heading.size());
  return text.substr(begin, stop == std::string::npos ? std::string::npos : stop - begin);
}

// Every "--name" or "--name=" in `text`.
Names optionsIn(const std::string& text) {
  Names found;
  const std::regex option(R"(--[a-z0-9+-]+=?)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
    found.insert(it->str());
  return found;
}

Names helpOptions() {
  const std::string help = helpText("guidegate");
  return optionsIn(section(help, "Standards", "\nInputs:"));
}

Names manOptions() {
  const std::string man = manPage();
  return optionsIn(section(man, ".SH STANDARDS", ".SH INPUT FORMATS"));
}

Names statusesIn(const std::string& text, const std::regex& line) {
  Names found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator(); ++it)
    found.insert((*it)[1].str());
  return found;
}

TEST(HelpAndManual, NameTheSameOptionsAndEveryOneIsAccepted) {
  const Names help = helpOptions();
  EXPECT_EQ(help, manOptions());
  // The options the README's tables list, standards, options and the two that end a run at once.
  for (const char* option : {"--cert-c", "--cert-c-2016", "--cert-c++", "--cert-c++-2016", "--misra-c-2012",
                             "--misra-c-2023", "--misra-c++-2008", "--misra-c++-2023", "--cwe-top25",
                             "--checkers-report=", "--files=", "--output-file=", "--project-name=",
                             "--project-version=", "--suppressions=", "--json-output=", "--markdown-summary=",
                             "--strict", "--error-exit-status=", "--help", "--version"})
    EXPECT_EQ(help.count(option), 1u) << option;
  for (const std::string& option : help) {
    const std::string argument = option.ends_with("=") ? option + "value" : option;
    EXPECT_NE(parseCommandLine({argument, "results.xml"}).outcome, ParsedCommandLine::Outcome::UnknownOption)
        << option;
  }
}

TEST(HelpAndManual, NameTheSameExitStatuses) {
  const Names help =
      statusesIn(section(helpText("guidegate"), "Exit status:", "\n\n"), std::regex(R"(\n  (\d+|N)  )"));
  const Names man = statusesIn(section(manPage(), ".SH EXIT STATUS", "\n.SH "), std::regex(R"(\n\.B (\d+|N)\n)"));
  EXPECT_EQ(help, (Names{"0", "1", "N"}));  // N: --error-exit-status=N
  EXPECT_EQ(man, help);
}

}  // namespace
}  // namespace guidegate
