// The fast reader of results files against the reference: for any text, the streaming
// reader gives the very document the tinyxml2 reader gives, or declines. It is fed the
// text whole and in small pieces (the first byte sets their size), so that every event
// also meets a piece boundary. Read in parts, cut after a tag or two (as a large file is
// read on several threads), it gives what it gives read at once.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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
  const std::optional<guidegate::ResultsDocument> whole = guidegate::streamResults(text);
  std::vector<std::size_t> tags;
  for (std::size_t at = 1; at <= size; ++at)
    if (text[at - 1] == '>') tags.push_back(at);
  const std::size_t step = 1 + tags.size() / 48;  // about 48 cuts, and as many pairs of them
  for (std::size_t i = 0; i < tags.size(); i += step)
    for (const std::size_t second : {i, i + 1 + data[i % size] % 16}) {
      std::vector<std::size_t> cuts{tags[i]};
      if (second != i && second < tags.size()) cuts.push_back(tags[second]);
      const std::optional<guidegate::ResultsDocument> inParts =
          guidegate::streamResultsInParts(text, cuts, i % 2 == 0 ? smallPieces : std::size_t{1} << 20);
      if (inParts.has_value() != whole.has_value())
        guidegate::fuzz::fail("read in parts, the fast reader judged otherwise");
      if (inParts && !guidegate::sameDocument(*inParts, *whole))
        guidegate::fuzz::fail("read in parts, the fast reader read another document");
    }
  return 0;
}
