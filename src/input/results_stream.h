// The two readers of a results file's text behind loadResultsDocument: the fast one,
// a streaming parse with libexpat, and the reference, a tinyxml2 document. The fast
// reader either gives exactly the document the reference gives or declines, and the
// reference then reads the text.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "input/results_document.h"

namespace guidegate {

// The reference reader over the whole text of the results file at `path`. Throws
// InputError as loadResultsDocument does.
ResultsDocument readResultsReference(std::string_view text, const std::string& path);

// The fast reader, fed the text in pieces of any size.
class ResultsStream {
 public:
  ResultsStream();
  ~ResultsStream();
  ResultsStream(const ResultsStream&) = delete;
  ResultsStream& operator=(const ResultsStream&) = delete;

  // Makes room for about `findings` findings at once, so that the findings are not
  // moved as they grow: room that stays unused is address space, never touched.
  void reserve(std::size_t findings);
  // Parses the next piece; false once the reader has declined (a piece holds a NUL
  // byte, or the text may read otherwise than the reference reads it, or is not
  // well-formed), after which further pieces are ignored.
  bool feed(std::string_view piece);
  // The document after the last piece; nothing when the reader has declined.
  std::optional<ResultsDocument> finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Whether two documents hold the same: every field, the findings' texts compared as
// texts.
bool sameDocument(const ResultsDocument& left, const ResultsDocument& right);

// The fast reader over a whole text, fed in pieces of `pieceSize` bytes.
std::optional<ResultsDocument> streamResults(std::string_view text, std::size_t pieceSize = 1 << 20);

}  // namespace guidegate
