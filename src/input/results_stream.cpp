#include "input/results_stream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>

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
  bool rootEnded = false;
  bool pastDeclarations = false;  // a comment or an element has been met
  bool declined = false;

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
          if (product) document.checkingTool = product;
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

void ResultsStream::reserve(std::size_t findings) { state_->document.results.reserve(findings); }

bool ResultsStream::feed(std::string_view piece) {
  State& state = *state_;
  if (state.declined) return false;
  // The reference reader ends the text at a NUL byte; the file is then invalid.
  if (std::memchr(piece.data(), '\0', piece.size())) {
    state.declined = true;
    return false;
  }
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

std::optional<ResultsDocument> streamResults(std::string_view text, std::size_t pieceSize) {
  ResultsStream stream;
  if (pieceSize == 0) pieceSize = 1;
  while (!text.empty()) {
    const std::string_view piece = text.substr(0, pieceSize);
    if (!stream.feed(piece)) return std::nullopt;
    text.remove_prefix(piece.size());
  }
  return stream.finish();
}

}  // namespace guidegate
