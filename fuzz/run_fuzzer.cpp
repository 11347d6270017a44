// One whole run through the command line, with options and dates: the fuzz input holds
// a header line and up to three inputs separated by lines that read "%%" (the results
// file, the checkers report, the files list). The header's bytes choose the standard,
// which options are given, SOURCE_DATE_EPOCH, and the texts of --project-name=,
// --project-version= and --suppressions=. Output paths are fixed names in a private
// scratch directory, so the run writes nowhere else.
//
// Whatever the input, the run ends with status 0 or 1; a run that ends with 0 wrote
// every output asked for; every HTML output is a whole document whose markup is the
// report's own; every JSON output parses; and a failed run leaves no output behind.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogues/tables.h"
#include "driver/run.h"
#include "fuzz_support.h"

namespace {

using guidegate::fuzz::fail;

// A private directory the run works in; created once per process.
const std::string& scratchDirectory() {
  static const std::string directory = [] {
    const char* chosen = std::getenv("GUIDEGATE_FUZZ_SCRATCH");
    std::string pattern = std::string(chosen && *chosen ? chosen : "/tmp") + "/guidegate-run-XXXXXX";
    if (!::mkdtemp(pattern.data())) fail("cannot create the scratch directory");
    return pattern;
  }();
  return directory;
}

std::string path(const char* name) { return scratchDirectory() + "/" + name; }

bool exists(const std::string& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0;
}

std::string read(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write(const std::string& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

guidegate::fuzz::TagNames knownTags() {
  guidegate::fuzz::TagNames known = guidegate::fuzz::reportTagNames();
  for (const auto* catalogue : {&guidegate::certCCatalogue, &guidegate::certCppCatalogue,
                                &guidegate::misraC2012Catalogue, &guidegate::misraC2023Catalogue,
                                &guidegate::misraCpp2008Catalogue, &guidegate::misraCpp2023Catalogue,
                                &guidegate::cweCatalogue})
    for (const auto& row : *catalogue) guidegate::fuzz::addTagNames(row.text, known);
  return known;
}

// A text of the header for an option value: up to the next '|' .
std::string_view field(std::string_view& header) {
  const auto bar = header.find('|');
  const std::string_view value = header.substr(0, bar);
  header.remove_prefix(bar == std::string_view::npos ? header.size() : bar + 1);
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const guidegate::fuzz::TagNames tags = knownTags();
  static const char* const standardFlags[] = {"--cert-c",         "--cert-c++",       "--misra-c-2012", "--misra-c-2023",
                                              "--misra-c++-2008", "--misra-c++-2023", "--cwe-top25"};
  const std::string report = path("report.html"), json = path("report.json"), markdown = path("summary.md");
  for (const auto& output : {report, json, markdown}) ::unlink(output.c_str());

  std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto newline = text.find('\n');
  if (newline == std::string_view::npos || newline < 2) return 0;
  std::string_view header = text.substr(0, newline);
  text.remove_prefix(newline + 1);
  const unsigned choice = static_cast<unsigned char>(header[0]);
  const unsigned options = static_cast<unsigned char>(header[1]);
  header.remove_prefix(2);

  const auto pieces = guidegate::fuzz::sections(text, 4);
  write(path("results.xml"), pieces[0]);
  std::vector<std::string> arguments = {"guidegate", standardFlags[choice % 7]};
  if (pieces.size() > 1 && (options & 1)) {
    write(path("checkers.txt"), pieces[1]);
    arguments.push_back("--checkers-report=" + path("checkers.txt"));
  }
  if (pieces.size() > 2 && (options & 2)) {
    write(path("files.md5"), pieces[2]);
    arguments.push_back("--files=" + path("files.md5"));
  }
  arguments.push_back("--output-file=" + report);
  if (options & 4) arguments.push_back("--json-output=" + json);
  if (options & 8) arguments.push_back("--markdown-summary=" + markdown);
  if (options & 16) arguments.push_back("--project-name=" + std::string(field(header)));
  if (options & 32) arguments.push_back("--project-version=" + std::string(field(header)));
  if (options & 64) arguments.push_back("--suppressions=" + std::string(field(header)));
  arguments.push_back(path("results.xml"));

  guidegate::RunEnvironment environment;
  environment.now = 1796652180;
  if (choice & 128) environment.sourceDateEpoch = std::string(field(header));

  std::ostringstream out;
  std::ostringstream err;
  const int status = guidegate::runGuidegate(arguments, out, err, environment);
  if (status != 0 && status != 1) fail("an exit status other than 0 or 1");

  if (!exists(report)) {
    // The run failed before writing (an invalid input or date): nothing may be left.
    if (status == 0) fail("a compliant run without its report");
    for (const auto& output : {json, markdown})
      if (exists(output)) fail("a failed run left an output behind");
    return 0;
  }
  const std::string html = read(report);
  if (!html.starts_with("<html><head>") || !html.ends_with("</body>\n</html>\n")) fail("a report that is not whole");
  guidegate::fuzz::checkMarkup(html, tags);
  if ((options & 4) && !nlohmann::json::accept(read(json))) fail("a JSON output that does not parse");
  if ((options & 8) && !exists(markdown)) fail("a Markdown summary that was not written");
  return 0;
}
