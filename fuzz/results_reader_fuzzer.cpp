// Feeds arbitrary bytes to the results reader as the content of a results file.
#include <stdexcept>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "input/results_reader.h"

namespace {

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const guidegate::fuzz::ScratchFile results("results.xml");
  const std::string& path = results.write({reinterpret_cast<const char*>(data), size});
  try {
    const guidegate::ResultsDocument document = guidegate::loadResultsDocument(path);
    // A document was read: what it holds came from the bytes, so none of it is
    // longer than they are.
    for (const auto& record : document.results) {
      if (record.id.size() > size || record.severity.size() > size || record.remark.size() > size)
        guidegate::fuzz::fail("a record text longer than the file");
    }
    (void)document.fatalErrorIds();
  } catch (const std::runtime_error& error) {
    const std::string_view message = error.what();
    if (message != "Failed to open file:" + path && message != "Invalid XML data in file:" + path &&
        message != "Invalid file:" + path)
      guidegate::fuzz::fail("an unexpected error message");
    if (startsWith(message, "Failed to open")) guidegate::fuzz::fail("the scratch file could not be opened");
  }
  return 0;
}
