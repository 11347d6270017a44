// The floor of a streaming read: parses a results file with libexpat in pieces of
// 1 MiB, as the results reader does (input taken as UTF-8), counting the elements and
// keeping nothing. Exit status 1 when the file cannot be opened or parsed.
#include <cstdio>
#include <vector>

#include <expat.h>

namespace {

void XMLCALL countElement(void* count, const XML_Char*, const XML_Char**) { ++*static_cast<long*>(count); }

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s RESULTS.xml\n", argv[0]);
    return 2;
  }
  std::FILE* file = std::fopen(argv[1], "rb");
  if (!file) return 1;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  long elements = 0;
  XML_SetUserData(parser, &elements);
  XML_SetStartElementHandler(parser, countElement);
  std::vector<char> piece(1 << 20);
  bool parsed = true;
  while (parsed) {
    const std::size_t count = std::fread(piece.data(), 1, piece.size(), file);
    const bool last = count < piece.size();
    parsed = XML_Parse(parser, piece.data(), static_cast<int>(count), last) == XML_STATUS_OK;
    if (last) break;
  }
  XML_ParserFree(parser);
  std::fclose(file);
  return parsed && elements > 0 ? 0 : 1;
}
