#include "driver/command_line.h"

#include <string_view>

namespace guidegate {
namespace {

// Sets `target` to what follows `prefix` when `argument` begins with it.
bool takeValue(const std::string& argument, std::string_view prefix, std::optional<std::string>& target) {
  if (!argument.starts_with(prefix)) return false;
  target = argument.substr(prefix.size());
  return true;
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed;
  if (arguments.empty()) {
    parsed.outcome = ParsedCommandLine::Outcome::Usage;
    return parsed;
  }
  RunOptions& options = parsed.options;
  for (const auto& argument : arguments) {
    if (auto standard = standardForFlag(argument)) {
      options.standard = *standard;
    } else if (takeValue(argument, "--checkers-report=", options.checkersReport) ||
               takeValue(argument, "--files=", options.filesList) ||
               takeValue(argument, "--output-file=", options.outputFile) ||
               takeValue(argument, "--project-name=", options.projectName) ||
               takeValue(argument, "--project-version=", options.projectVersion)) {
    } else if (argument.starts_with("--suppressions=")) {
      options.suppressionList += "," + argument.substr(std::string_view("--suppressions=").size()) + ",";
    } else if (argument.starts_with("-")) {
      parsed.outcome = ParsedCommandLine::Outcome::UnknownOption;
      parsed.unknownOption = argument;
      return parsed;
    } else {
      options.resultsFile = argument;
    }
  }
  if (!options.resultsFile) parsed.outcome = ParsedCommandLine::Outcome::Usage;
  return parsed;
}

std::string usageText(const std::string& programName) {
  return "Syntax: " + programName +
         " [--cert-c] [--cert-c++] [--cwe-top25] [--misra-c-2012] [--misra-c-2023] [--misra-c++-2008]"
         " [--misra-c++-2023] [--files=X] [--output-file=X] [--project-name=X] [--project-version=X]"
         " <report.xml>\n";
}

}  // namespace guidegate
