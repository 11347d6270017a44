// The fast reader of results files against the reference: for any text, the streaming
// reader gives the very document the tinyxml2 reader gives, or declines. It is fed the
// text whole and in small pieces (the first byte sets their size), so that every event
// also meets a piece boundary.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "input/results_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::optional<guidegate::ResultsDocument> reference;
  try {
    reference = guidegate::readResultsReference(text, "results.xml");
  } catch (const std::runtime_error&) {
  }
  const std::size_t smallPieces = size == 0 ? 1 : 1 + data[0] % 17;
  for (const std::size_t pieceSize : {std::size_t{1} << 20, smallPieces}) {
    const std::optional<guidegate::ResultsDocument> fast = guidegate::streamResults(text, pieceSize);
    if (!fast) continue;
    if (!reference) guidegate::fuzz::fail("the fast reader read a text the reference refuses");
    if (!guidegate::sameDocument(*fast, *reference)) guidegate::fuzz::fail("the fast reader read another document");
  }
  return 0;
}
