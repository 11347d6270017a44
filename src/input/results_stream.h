// The two readers of a results file's text behind loadResultsDocument: the fast one,
// a streaming parse with libexpat, and the reference, a tinyxml2 document. The fast
// reader either gives exactly the document the reference gives or declines, and the
// reference then reads the text.
#pragma once

#include <memory>
#include <optional>
#include <span>
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

  // A reader of a part of a text that starts at an error boundary (see atErrorBoundary)
  // of a document whose root is named `rootName`. A text cut at such boundaries can be
  // read side by side, a stream per part, and the parts joined.
  static std::unique_ptr<ResultsStream> continuation(const std::string& rootName);
  // The document that `parts`, streams fed the parts of one text in order (each but the
  // first a continuation), read together: the findings of each part in turn. Nothing
  // when a part but the last does not end at an error boundary, or one declined; the
  // first stream is then as it was, and may be fed the rest of the text itself.
  static std::optional<ResultsDocument> join(std::span<ResultsStream* const> parts);

  // Makes room for about `findings` findings at once, so that the findings are not
  // moved as they grow: room that stays unused is address space, never touched.
  void reserve(std::size_t findings);
  // Parses the next piece; false once the reader has declined (a piece holds a NUL
  // byte, or the text may read otherwise than the reference reads it, or is not
  // well-formed), after which further pieces are ignored.
  bool feed(std::string_view piece);
  // The document after the last piece; nothing when the reader has declined.
  std::optional<ResultsDocument> finish();

  // The name of the root element, once its start tag has been read.
  std::optional<std::string> rootName() const;
  // Whether the text fed so far ends just after the end of an `error` element in the
  // `errors` section of the root, so that a continuation can read what follows.
  bool atErrorBoundary() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Whether two documents hold the same: every field, the findings' texts compared as
// texts.
bool sameDocument(const ResultsDocument& left, const ResultsDocument& right);

// The fast reader over a whole text, fed in pieces of `pieceSize` bytes.
std::optional<ResultsDocument> streamResults(std::string_view text, std::size_t pieceSize = 1 << 20);

// The same, the text cut at the byte offsets `cuts` (ascending) and read a part after
// the other, each by a stream of its own, and joined; when that fails, the first stream
// reads on. Gives what streamResults gives.
std::optional<ResultsDocument> streamResultsInParts(std::string_view text, std::span<const std::size_t> cuts,
                                                    std::size_t pieceSize = 1 << 20);

}  // namespace guidegate
