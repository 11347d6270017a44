// Feeds arbitrary bytes to the files list reader and builds the Files section of the
// entries it returns against a small set of findings.
#include <string>
#include <string_view>

#include "catalogues/tables.h"
#include "fuzz_support.h"
#include "html/files_table.h"
#include "input/files_list.h"

namespace {

// Where the findings below are: file names the corpus lists, so that sentences are built.
const guidegate::Location inAA[] = {{"src/a.c"}, {"src/a.c"}};
const guidegate::Location inBA[] = {{"src/b.c"}, {"src/a.c"}};
const guidegate::Location inB[] = {{"src/b.c"}};
const guidegate::Location inMarkup[] = {{"x<y>&'.c"}};

guidegate::ResultsDocument findings() {
  guidegate::ResultsDocument document;
  document.results = {{"nullPointer", "error", "", inAA},
                      {"uninitvar", "warning", "", inBA},
                      {"misra-c2012-8.4", "style", "", inB},
                      {"<b>&\"'", "error", "", inMarkup}};
  return document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using guidegate::fuzz::fail;
  static const guidegate::fuzz::ScratchFile list("files.md5");
  static const guidegate::ResultsDocument document = findings();
  static const guidegate::fuzz::TagNames knownTags = guidegate::fuzz::reportTagNames();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::vector<guidegate::FileEntry> entries = guidegate::readFilesList(list.write(bytes));
  for (const auto& entry : entries) {
    // The checksum ends at the first blank, the name begins after the blanks that
    // follow it, and neither spans lines.
    if (entry.fileName.empty()) fail("an entry without a file name");
    if (entry.fileName.front() == ' ' || entry.fileName.front() == '\t') fail("a file name that begins with a blank");
    if (entry.md5sum.find_first_of(" \t") != std::string::npos) fail("a checksum holding a blank");
    if ((entry.fileName + entry.md5sum).find('\n') != std::string::npos) fail("an entry spanning lines");
  }
  static const guidegate::ResultsIndex index(document);
  guidegate::fuzz::checkMarkup(
      guidegate::buildFilesTable(guidegate::buildFileRows(index, entries, guidegate::certCCatalogue)), knownTags);
  return 0;
}
