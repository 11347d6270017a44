#include "input/results_stream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <expat.h>

#include "input/markup_scan.h"
#include "input/results_fields.h"

namespace guidegate {
namespace {

bool equal(const char* text, const char* expected) {
  return text[0] == expected[0] && std::strcmp(text, expected) == 0;
}

// Deeper than this the reference parser refuses a document; well before it the fast
// reader declines, so that the reference judges.
constexpr int maxDepth = 64;

// The sections of the root whose children are read.
enum class Section { Other, Errors, Suppressions, Checkers };

// Whether, in the start tag `tag` as it stands in the file, the value of one of the
// attributes `kept` holds a tab, carriage return or line feed: expat turns each into a
// space, the reference keeps them (a CR LF pair as LF).
bool holdsBreak(std::string_view text) {
  // Eight bytes at a time, first for any byte below 14: tags rarely hold one.
  constexpr std::uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080;
  std::size_t at = 0;
  for (; at + 8 <= text.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    if (((word - 14 * ones) & ~word & highs) != 0) break;
  }
  for (; at < text.size(); ++at)
    if (text[at] == '\n' || text[at] == '\t' || text[at] == '\r') return true;
  return false;
}

bool keptValueHoldsBreak(std::string_view tag, std::initializer_list<std::string_view> kept) {
  if (!holdsBreak(tag)) return false;
  constexpr std::string_view blank = " \t\r\n";
  std::size_t at = tag.find_first_of(blank);  // past the element's name
  while (at != std::string_view::npos && at < tag.size()) {
    at = tag.find_first_not_of(blank, at);
    if (at == std::string_view::npos || tag[at] == '/' || tag[at] == '>') return false;
    const std::size_t equals = tag.find('=', at);
    if (equals == std::string_view::npos) return true;
    std::string_view name = tag.substr(at, equals - at);
    name = name.substr(0, name.find_first_of(blank));
    const std::size_t open = tag.find_first_of("\"'", equals);
    if (open == std::string_view::npos) return true;
    const std::size_t close = tag.find(tag[open], open + 1);
    if (close == std::string_view::npos) return true;
    const std::string_view value = tag.substr(open + 1, close - open - 1);
    if (holdsBreak(value))
      for (const std::string_view name_kept : kept)
        if (name == name_kept) return true;
    at = close + 1;
  }
  return false;
}

}  // namespace

struct ResultsStream::State {
  XML_Parser parser = XML_ParserCreate("UTF-8");
  ResultsDocument document;
  int depth = 0;
  Section section = Section::Other;
  bool inError = false;  // inside an `error` element of an `errors` section
  std::vector<Location> locations;  // those of the error being read
  bool rootStarted = false;
  bool rootEnded = false;
  bool pastDeclarations = false;  // a comment or an element has been met
  bool toolNamed = false;         // a `tarnwick` element named the product
  bool declined = false;
  std::uint64_t fed = 0;       // bytes of text fed so far
  std::uint64_t errorEnd = 0;  // the offset just past the last error element's end

  State() {
    if (!parser) {
      declined = true;
      return;
    }
    document.hasErrorsElement = false;
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &State::onStart, &State::onEnd);
    XML_SetStartDoctypeDeclHandler(parser, &State::onDoctype);
    XML_SetProcessingInstructionHandler(parser, &State::onInstruction);
    XML_SetCommentHandler(parser, &State::onComment);
    XML_SetSkippedEntityHandler(parser, &State::onSkippedEntity);
  }
  ~State() {
    if (parser) XML_ParserFree(parser);
  }
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  void decline() {
    declined = true;
    XML_StopParser(parser, XML_FALSE);
  }

  // The raw bytes of the event being reported: the whole start tag.
  std::string_view rawEvent() const {
    int offset = 0;
    int size = 0;
    const char* context = XML_GetInputContext(parser, &offset, &size);
    const int count = XML_GetCurrentByteCount(parser);
    if (!context || count <= 0 || offset < 0 || offset + count > size) return {};
    return {context + offset, static_cast<std::size_t>(count)};
  }

  // Whether the kept attributes of this start tag read as the reference reads them;
  // declines when not.
  bool keptReadAlike(std::initializer_list<std::string_view> kept) {
    const std::string_view tag = rawEvent();
    if (tag.empty() || keptValueHoldsBreak(tag, kept)) {
      decline();
      return false;
    }
    return true;
  }

  void start(const char* name, const char** attributes) {
    pastDeclarations = true;
    std::size_t count = 0;
    while (attributes[2 * count]) ++count;
    if (count > maxAttributesPerElement || ++depth > maxDepth) return decline();
    switch (depth) {
      case 1:
        rootStarted = true;
        document.rootName = name;
        if (!keptReadAlike({"version"})) return;
        for (std::size_t i = 0; i < count; ++i)
          if (equal(attributes[2 * i], "version")) document.xmlVersion = versionNumber(attributes[2 * i + 1]);
        return;
      case 2:
        section = Section::Other;
        if (equal(name, "errors")) {
          section = Section::Errors;
          document.hasErrorsElement = true;
        } else if (equal(name, "suppressions")) {
          section = Section::Suppressions;
        } else if (equal(name, "checkers-report")) {
          section = Section::Checkers;
        } else if (equal(name, "tarnwick")) {
          if (!keptReadAlike({"product-name", "version"})) return;
          const char* product = nullptr;
          const char* version = nullptr;
          for (std::size_t i = 0; i < count; ++i) {
            if (equal(attributes[2 * i], "product-name")) product = attributes[2 * i + 1];
            if (equal(attributes[2 * i], "version")) version = attributes[2 * i + 1];
          }
          if (product) {
            document.checkingTool = product;
            toolNamed = true;
          }
          if (version) {
            document.checkingTool += ' ';
            document.checkingTool += version;
          }
        } else if (equal(name, "safety")) {
          document.safety = true;
        } else if (equal(name, "inline-suppr")) {
          document.inlineSuppr = true;
        }
        return;
      case 3:
        if (section == Section::Errors && equal(name, "error")) {
          if (!keptReadAlike({"id", "severity", "remark"})) return;
          inError = true;
          locations.clear();
          TextPool& texts = *document.texts;
          ResultRecord& record = document.results.emplace_back();
          for (std::size_t i = 0; i < count; ++i) {
            const char* attribute = attributes[2 * i];
            if (equal(attribute, "id"))
              record.id = texts.intern(attributes[2 * i + 1]);
            else if (equal(attribute, "severity"))
              record.severity = texts.intern(attributes[2 * i + 1]);
            else if (equal(attribute, "remark"))
              record.remark = texts.intern(attributes[2 * i + 1]);
          }
        } else if (section == Section::Suppressions && equal(name, "suppression")) {
          if (!keptReadAlike({"errorId"})) return;
          std::string& id = document.suppressions.emplace_back();
          for (std::size_t i = 0; i < count; ++i)
            if (equal(attributes[2 * i], "errorId")) id = attributes[2 * i + 1];
        } else if (section == Section::Checkers && equal(name, "checker")) {
          if (!keptReadAlike({"id"})) return;
          for (std::size_t i = 0; i < count; ++i)
            if (equal(attributes[2 * i], "id")) document.checkers.insert(attributes[2 * i + 1]);
        }
        return;
      case 4:
        if (inError && equal(name, "location")) {
          if (!keptReadAlike({"file", "line", "column"})) return;
          const char* file = nullptr;
          const char* line = nullptr;
          const char* column = nullptr;
          for (std::size_t i = 0; i < count; ++i) {
            const char* attribute = attributes[2 * i];
            if (equal(attribute, "file"))
              file = attributes[2 * i + 1];
            else if (equal(attribute, "line"))
              line = attributes[2 * i + 1];
            else if (equal(attribute, "column"))
              column = attributes[2 * i + 1];
          }
          if (file) locations.push_back({document.texts->intern(file), positionNumber(line), positionNumber(column)});
        }
        return;
      default:
        return;
    }
  }

  void end() {
    if (depth == 3 && inError) {
      document.results.back().locations = document.places->keep(locations);
      inError = false;
      errorEnd = static_cast<std::uint64_t>(XML_GetCurrentByteIndex(parser) + XML_GetCurrentByteCount(parser));
    }
    if (depth == 2) section = Section::Other;
    if (--depth == 0) rootEnded = true;
  }

  static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
    static_cast<State*>(self)->start(name, attributes);
  }
  static void XMLCALL onEnd(void* self, const XML_Char*) { static_cast<State*>(self)->end(); }
  // A document type declaration may declare entities and default attributes, which
  // the reference reader knows nothing of.
  static void XMLCALL onDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    static_cast<State*>(self)->decline();
  }
  // The reference takes a processing instruction for a declaration, which it allows only
  // at the top of the document, before anything but other declarations.
  static void XMLCALL onInstruction(void* self, const XML_Char*, const XML_Char*) {
    auto* state = static_cast<State*>(self);
    if (state->pastDeclarations) state->decline();
  }
  static void XMLCALL onComment(void* self, const XML_Char*) { static_cast<State*>(self)->pastDeclarations = true; }
  static void XMLCALL onSkippedEntity(void* self, const XML_Char*, int) { static_cast<State*>(self)->decline(); }
};

ResultsStream::ResultsStream() : state_(std::make_unique<State>()) {}
ResultsStream::~ResultsStream() = default;

std::unique_ptr<ResultsStream> ResultsStream::continuation(const std::string& rootName) {
  auto stream = std::make_unique<ResultsStream>();
  // The elements open at the boundary, as the rest of the text finds them: the rest
  // reads as the same events, since without a document type declaration nothing before
  // the boundary changes how the text after it reads. What the opening sets is the
  // first stream's to give, so it is not joined; a product name that the rest does not
  // set is the first stream's.
  stream->feed("<" + rootName + "><errors>");
  stream->state_->document.checkingTool.clear();
  return stream;
}

void ResultsStream::reserve(std::size_t findings) { state_->document.results.reserve(findings); }

bool ResultsStream::feed(std::string_view piece) {
  State& state = *state_;
  if (state.declined) return false;
  // The reference reader ends the text at a NUL byte; the file is then invalid.
  if (std::memchr(piece.data(), '\0', piece.size())) {
    state.declined = true;
    return false;
  }
  state.fed += piece.size();
  while (!piece.empty() && !state.declined) {
    const std::size_t size = std::min<std::size_t>(piece.size(), 1 << 30);
    if (XML_Parse(state.parser, piece.data(), static_cast<int>(size), XML_FALSE) != XML_STATUS_OK)
      state.declined = true;
    piece.remove_prefix(size);
  }
  return !state.declined;
}

std::optional<ResultsDocument> ResultsStream::finish() {
  State& state = *state_;
  if (!state.declined && XML_Parse(state.parser, "", 0, XML_TRUE) != XML_STATUS_OK) state.declined = true;
  if (state.declined || !state.rootEnded) return std::nullopt;
  return std::move(state.document);
}

std::optional<std::string> ResultsStream::rootName() const {
  if (!state_->rootStarted) return std::nullopt;
  return state_->document.rootName;
}

bool ResultsStream::atErrorBoundary() const {
  const State& state = *state_;
  return !state.declined && state.depth == 2 && state.section == Section::Errors && state.errorEnd == state.fed;
}

namespace {

// Adds what a later part of the text read to `document`, the earlier parts' reading.
void joinPart(ResultsDocument& document, ResultsDocument&& part, bool toolNamed) {
  document.results.insert(document.results.end(), part.results.begin(), part.results.end());
  document.texts->adopt(*part.texts);
  document.places->adopt(*part.places);
  document.suppressions.insert(document.suppressions.end(), std::make_move_iterator(part.suppressions.begin()),
                               std::make_move_iterator(part.suppressions.end()));
  document.checkers.merge(part.checkers);
  document.inlineSuppr = document.inlineSuppr || part.inlineSuppr;
  document.safety = document.safety || part.safety;
  if (toolNamed)
    document.checkingTool = std::move(part.checkingTool);
  else
    document.checkingTool += part.checkingTool;
}

}  // namespace

std::optional<ResultsDocument> ResultsStream::join(std::span<ResultsStream* const> parts) {
  if (parts.empty()) return std::nullopt;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i)
    if (!parts[i]->atErrorBoundary()) return std::nullopt;
  std::optional<ResultsDocument> last = parts.back()->finish();
  if (!last || parts.size() == 1) return last;
  State& first = *parts.front()->state_;
  ResultsDocument document = std::move(first.document);
  first.declined = true;  // spent
  for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
    State& part = *parts[i]->state_;
    joinPart(document, std::move(part.document), part.toolNamed);
    part.declined = true;
  }
  joinPart(document, std::move(*last), parts.back()->state_->toolNamed);
  return document;
}

bool sameDocument(const ResultsDocument& left, const ResultsDocument& right) {
  auto sameRecord = [](const ResultRecord& a, const ResultRecord& b) {
    return a.id == b.id && a.severity == b.severity && a.remark == b.remark &&
           std::ranges::equal(a.locations, b.locations);
  };
  return left.checkingTool == right.checkingTool && left.suppressions == right.suppressions &&
         left.checkers == right.checkers && left.inlineSuppr == right.inlineSuppr && left.safety == right.safety &&
         left.xmlVersion == right.xmlVersion && left.rootName == right.rootName &&
         left.hasErrorsElement == right.hasErrorsElement &&
         std::equal(left.results.begin(), left.results.end(), right.results.begin(), right.results.end(), sameRecord);
}

namespace {

// Feeds `text` to `stream` in pieces of `pieceSize` bytes (at least one); false once it declines.
bool feedInPieces(ResultsStream& stream, std::string_view text, std::size_t pieceSize) {
  pieceSize = std::max<std::size_t>(pieceSize, 1);
  while (!text.empty()) {
    const std::string_view piece = text.substr(0, pieceSize);
    if (!stream.feed(piece)) return false;
    text.remove_prefix(piece.size());
  }
  return true;
}

}  // namespace

std::optional<ResultsDocument> streamResults(std::string_view text, std::size_t pieceSize) {
  ResultsStream stream;
  if (!feedInPieces(stream, text, pieceSize)) return std::nullopt;
  return stream.finish();
}

std::optional<ResultsDocument> streamResultsInParts(std::string_view text, std::span<const std::size_t> cuts,
                                                    std::size_t pieceSize) {
  auto feedAll = [pieceSize](ResultsStream& stream, std::string_view part) {
    return feedInPieces(stream, part, pieceSize);
  };
  std::vector<std::size_t> bounds{0};
  for (const std::size_t cut : cuts)
    if (cut > bounds.back() && cut < text.size()) bounds.push_back(cut);
  bounds.push_back(text.size());
  ResultsStream first;
  if (!feedAll(first, text.substr(0, bounds[1]))) return std::nullopt;
  if (const std::optional<std::string> root = first.rootName(); root && bounds.size() > 2) {
    std::vector<std::unique_ptr<ResultsStream>> rest;
    std::vector<ResultsStream*> parts{&first};
    for (std::size_t i = 1; i + 1 < bounds.size(); ++i) {
      rest.push_back(ResultsStream::continuation(*root));
      feedAll(*rest.back(), text.substr(bounds[i], bounds[i + 1] - bounds[i]));
      parts.push_back(rest.back().get());
    }
    if (auto document = ResultsStream::join(parts)) return document;
  }
  if (!feedAll(first, text.substr(bounds[1]))) return std::nullopt;
  return first.finish();
}

}  // namespace guidegate
