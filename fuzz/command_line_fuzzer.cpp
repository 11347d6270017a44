// Parses arbitrary argument lists: the fuzz input holds the arguments separated by NUL
// bytes. The parser must end on every input with one outcome that agrees with the
// arguments: --help and --version win wherever they stand unless an unknown option or an
// invalid value comes first, an unknown option is one of the arguments, a run names its
// results file, an error exit status is from 2 to 125.
#include <string>
#include <string_view>
#include <vector>

#include "driver/command_line.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using guidegate::fuzz::fail;
  using Outcome = guidegate::ParsedCommandLine::Outcome;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> arguments;
  while (!bytes.empty() && arguments.size() < 64) {
    const auto end = bytes.find('\0');
    arguments.emplace_back(bytes.substr(0, end));
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }

  const guidegate::ParsedCommandLine parsed = guidegate::parseCommandLine(arguments);
  bool asked = false;
  for (const auto& argument : arguments) asked = asked || argument == "--help" || argument == "--version";
  switch (parsed.outcome) {
    case Outcome::Help:
    case Outcome::Version:
      if (!asked) fail("help or version that nobody asked for");
      break;
    case Outcome::UnknownOption: {
      bool found = false;
      for (const auto& argument : arguments) found = found || argument == parsed.unknownOption;
      if (!found || !parsed.unknownOption.starts_with("-")) fail("an unknown option that is not an argument");
      break;
    }
    case Outcome::InvalidValue: {
      bool found = false;
      for (const auto& argument : arguments) found = found || argument == "--error-exit-status=" + parsed.invalidValue;
      if (!found) fail("an invalid value that no --error-exit-status= argument gave");
      break;
    }
    case Outcome::InvalidGate: {
      bool found = false;
      for (const auto& argument : arguments) found = found || argument.starts_with("--gate=");
      if (!found) fail("an invalid gate that no --gate= argument gave");
      break;
    }
    case Outcome::GateWithoutBaseline:
      if (parsed.options.baseline) fail("a gate without a baseline although one was named");
      break;
    case Outcome::MisraOnly:
      if (guidegate::misraStandard(parsed.options.standard)) fail("a MISRA-only option refused for a MISRA standard");
      if (!parsed.options.complianceSummary && parsed.options.gate != guidegate::Gate::MisraCompliance)
        fail("a MISRA-only refusal without a MISRA-only option");
      break;
    case Outcome::Usage:
      if (parsed.options.resultsFile) fail("usage although a results file was named");
      break;
    case Outcome::Run:
      if (!parsed.options.resultsFile || parsed.options.resultsFile->starts_with("-"))
        fail("a run without a results file");
      if (asked) fail("a run although help or version was asked for");
      break;
  }
  if (const auto status = parsed.options.errorExitStatus; status && (*status < 2 || *status > 125))
    fail("an error exit status outside 2..125");
  for (const auto& id : parsed.options.suppressions)
    if (id.empty() || id.find(',') != std::string::npos) fail("a suppressed id that is empty or holds a comma");
  return 0;
}
