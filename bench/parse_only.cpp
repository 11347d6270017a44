// The floor of a guidegate run: loads a results file with tinyxml2 exactly as the
// results reader does (entity processing on, whitespace preserved, LoadFile from a
// FILE* opened "rb"), destroys the document and exits. Exit status 1 when the file
// cannot be opened or parsed.
#include <cstdio>
#include <memory>

#include <tinyxml2.h>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s RESULTS.xml\n", argv[0]);
    return 2;
  }
  auto xml = std::make_unique<tinyxml2::XMLDocument>(true, tinyxml2::PRESERVE_WHITESPACE);
  std::FILE* file = std::fopen(argv[1], "rb");
  if (!file) return 1;
  const bool parsed = xml->LoadFile(file) == tinyxml2::XML_SUCCESS;
  std::fclose(file);
  xml.reset();
  return parsed ? 0 : 1;
}
