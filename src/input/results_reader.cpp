#include "input/results_reader.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

#include <tinyxml2.h>

#include "input/input_error.h"
#include "input/markup_scan.h"
#include "input/results_fields.h"
#include "input/results_stream.h"
#include "input/text_file.h"

namespace guidegate {
namespace {

using tinyxml2::XMLAttribute;
using tinyxml2::XMLElement;

// Whether `text` is exactly `expected`; the first character settles most comparisons
// of the million-fold loops below without a call.
bool equal(const char* text, const char* expected) {
  return text[0] == expected[0] && std::strcmp(text, expected) == 0;
}

bool named(const XMLElement* element, const char* name) { return equal(element->Name(), name); }

std::string attributeOr(const XMLElement* element, const char* name, const char* fallback = "") {
  const char* value = element->Attribute(name);
  return value ? value : fallback;
}

// Reads one `error` element into `record`. A missing id or severity is read as an
// empty text.
void readResultRecord(const XMLElement* error, ResultRecord& record, TextPool& texts, LocationPool& places,
                      std::vector<Location>& locations) {
  // One walk over the attributes: an error carries several more (msg, verbose, cwe,
  // file0, ...), and looking each name up would walk them again, three times for an
  // absent remark. The parser rejects repeated attributes, so each name occurs once.
  for (const XMLAttribute* attribute = error->FirstAttribute(); attribute; attribute = attribute->Next()) {
    const char* name = attribute->Name();
    if (equal(name, "id"))
      record.id = texts.intern(attribute->Value());
    else if (equal(name, "severity"))
      record.severity = texts.intern(attribute->Value());
    else if (equal(name, "remark"))
      record.remark = texts.intern(attribute->Value());
  }
  locations.clear();
  for (const XMLElement* child = error->FirstChildElement(); child; child = child->NextSiblingElement()) {
    if (!named(child, "location")) continue;
    if (const char* file = child->Attribute("file"))
      locations.push_back(
          {texts.intern(file), positionNumber(child->Attribute("line")), positionNumber(child->Attribute("column"))});
  }
  record.locations = places.keep(locations);
}

// The number of `error` elements in all `errors` sections, to size the findings once.
std::size_t countResultRecords(const XMLElement* root) {
  std::size_t count = 0;
  for (const XMLElement* child = root->FirstChildElement("errors"); child; child = child->NextSiblingElement("errors"))
    for (const XMLElement* error = child->FirstChildElement("error"); error; error = error->NextSiblingElement("error"))
      ++count;
  return count;
}

void readTool(const XMLElement* tool, ResultsDocument& document) {
  if (const char* product = tool->Attribute("product-name")) document.checkingTool = product;
  if (const char* version = tool->Attribute("version")) {
    document.checkingTool += ' ';
    document.checkingTool += version;
  }
}

}  // namespace

ResultsDocument readResultsReference(std::string_view text, const std::string& path) {
  ResultsDocument document;
  auto xml = std::make_unique<tinyxml2::XMLDocument>(true, tinyxml2::PRESERVE_WHITESPACE);
  // The scan comes first: it ends a file with an attribute bomb before the parser
  // compares each attribute with all earlier ones.
  if (holdsMarkupFault(text) || xml->Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS)
    throw InputError("Invalid XML data in file:" + path);

  const XMLElement* root = xml->FirstChildElement();
  if (!root) throw InputError("Invalid file:" + path);
  document.rootName = root->Name();
  document.hasErrorsElement = root->FirstChildElement("errors") != nullptr;
  if (const char* version = root->Attribute("version")) document.xmlVersion = versionNumber(version);
  document.results.reserve(countResultRecords(root));
  TextPool& texts = *document.texts;
  LocationPool& places = *document.places;
  std::vector<Location> locations;  // those of the error being read

  for (const XMLElement* child = root->FirstChildElement(); child; child = child->NextSiblingElement()) {
    if (named(child, "tarnwick")) {
      readTool(child, document);
    } else if (named(child, "errors")) {
      for (const XMLElement* error = child->FirstChildElement(); error; error = error->NextSiblingElement())
        if (named(error, "error")) readResultRecord(error, document.results.emplace_back(), texts, places, locations);
    } else if (named(child, "suppressions")) {
      for (const XMLElement* item = child->FirstChildElement(); item; item = item->NextSiblingElement())
        if (named(item, "suppression")) document.suppressions.push_back(attributeOr(item, "errorId"));
    } else if (named(child, "checkers-report")) {
      for (const XMLElement* item = child->FirstChildElement(); item; item = item->NextSiblingElement())
        if (named(item, "checker"))
          if (const char* id = item->Attribute("id")) document.checkers.insert(id);
    } else if (named(child, "safety")) {
      document.safety = true;
    } else if (named(child, "inline-suppr")) {
      document.inlineSuppr = true;
    }
  }
  return document;
}

namespace {

// The whole text read at once, by the fast reader when it can vouch for its result,
// else by the reference.
ReadInput<ResultsDocument> readWhole(const std::string& path, Digest digest) {
  ReadInput<ResultsDocument> read;
  std::optional<std::string> bytes = readInputFile(path);
  if (!bytes) throw InputError("Failed to open file:" + path);
  if (digest == Digest::Sha256) read.digest = digestInput(path, *bytes);
  if (auto document = streamResults(*bytes))
    read.content = std::move(*document);
  else
    read.content = readResultsReference(*bytes, path);
  return read;
}

// Reads [from, to) of the file, or to its end when it ends sooner, into `stream` in
// pieces of `piece`'s size; false once the stream declines. Throws when reading fails.
bool feedRange(int fd, const std::string& path, std::uint64_t from, std::uint64_t to, ResultsStream& stream,
               std::span<char> piece) {
  while (from < to) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), to - from));
    const ssize_t count = ::pread(fd, piece.data(), want, static_cast<off_t>(from));
    if (count == 0) return true;
    if (count < 0) {
      if (errno == EINTR) continue;
      throw InputError("Failed to open file:" + path);
    }
    from += static_cast<std::uint64_t>(count);
    if (!stream.feed({piece.data(), static_cast<std::size_t>(count)})) return false;
  }
  return true;
}

// The offset just past the first end tag of an error element from `from` on, in the
// next MiB; nothing when there is none.
std::optional<std::uint64_t> cutAfter(int fd, std::uint64_t from, std::span<char> window) {
  constexpr std::string_view endTag = "</error>";
  const ssize_t count = ::pread(fd, window.data(), window.size(), static_cast<off_t>(from));
  if (count <= 0) return std::nullopt;
  const std::string_view text(window.data(), static_cast<std::size_t>(count));
  const std::size_t at = text.find(endTag);
  if (at == std::string_view::npos) return std::nullopt;
  return from + at + endTag.size();
}

// A large file read in parts at once: this thread reads the first, up to the end of an
// error element, other threads each one of the next parts with a continuation, each
// ending just past an error element (the last at the end of the file). When a part
// does not end there after all, or one declines or cannot be read, the first stream
// reads the rest itself; so the document is always the one a single stream reads.
// Nothing when the fast reader declines.
std::optional<ResultsDocument> readInParts(int fd, const std::string& path, std::uint64_t size, std::size_t count) {
  constexpr std::size_t pieceSize = std::size_t{1} << 20;
  constexpr std::uint64_t toTheEnd = std::numeric_limits<std::uint64_t>::max();
  std::vector<std::unique_ptr<char[]>> pieces;
  auto newPiece = [&pieces] {
    pieces.push_back(std::make_unique_for_overwrite<char[]>(pieceSize));
    return std::span<char>(pieces.back().get(), pieceSize);
  };
  const std::span<char> piece = newPiece();

  // Where the parts begin: the first past the first piece, which names the root.
  std::vector<std::uint64_t> bounds{0};
  for (std::size_t i = 1; i < count; ++i)
    if (const auto cut = cutAfter(fd, size / count * i, piece); cut && *cut > bounds.back() && *cut > pieceSize)
      bounds.push_back(*cut);
  bounds.push_back(toTheEnd);

  ResultsStream first;
  first.reserve(static_cast<std::size_t>(size / 128));
  if (!feedRange(fd, path, 0, std::min<std::uint64_t>(pieceSize, bounds[1]), first, piece)) return std::nullopt;
  const std::optional<std::string> root = first.rootName();
  if (root && bounds.size() > 2) {
    const std::size_t parts = bounds.size() - 1;
    std::vector<std::unique_ptr<ResultsStream>> rest;
    std::vector<std::span<char>> restPieces;
    for (std::size_t i = 1; i < parts; ++i) {
      rest.push_back(ResultsStream::continuation(*root));
      rest.back()->reserve(static_cast<std::size_t>((std::min(bounds[i + 1], size) - bounds[i]) / 128));
      restPieces.push_back(newPiece());
    }
    std::vector<char> read(parts, 0);  // by part: read to its end without declining
    {
      // Declared after what they use, so that they are joined before it goes.
      std::vector<std::jthread> readers;
      try {
        for (std::size_t i = 1; i < parts; ++i)
          readers.emplace_back([&, i] {
            try {
              read[i] = feedRange(fd, path, bounds[i], bounds[i + 1], *rest[i - 1], restPieces[i - 1]) ? 1 : 0;
            } catch (...) {  // the first stream reads the part again and meets the fault itself
            }
          });
      } catch (const std::system_error&) {  // no more threads: the parts left are read in turn
      }
      if (!feedRange(fd, path, pieceSize, bounds[1], first, piece)) return std::nullopt;
    }
    if (std::all_of(read.begin() + 1, read.end(), [](char done) { return done != 0; })) {
      std::vector<ResultsStream*> streams{&first};
      for (const auto& stream : rest) streams.push_back(stream.get());
      if (auto document = ResultsStream::join(streams)) return document;
    }
  } else if (!feedRange(fd, path, pieceSize, bounds[1], first, piece)) {
    return std::nullopt;
  }
  if (!feedRange(fd, path, bounds[1], toTheEnd, first, piece)) return std::nullopt;
  return first.finish();
}

}  // namespace

ResultsDocument loadResultsDocument(const std::string& path) { return loadResultsInput(path, Digest::Skip).content; }

ReadParts readPartsOfMachine() {
  return {std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8), std::size_t{16} << 20};
}

ReadInput<ResultsDocument> loadResultsInput(const std::string& path, Digest digest, ReadParts parts) {
  // A regular file is read once in pieces, each parsed as it arrives, so that the
  // text is never held whole; only when the fast reader declines is the file read
  // again, whole, for the reference. Anything else (a pipe, a file that cannot be
  // opened, a directory or a device) is read whole once, as every input is.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return readWhole(path, digest);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return readWhole(path, digest);
  const auto size = static_cast<std::uint64_t>(std::max<off_t>(info.st_size, 0));
  if (const std::size_t count =
          std::min<std::uint64_t>(parts.count, size / std::max<std::size_t>(parts.minimumBytes, 1));
      digest == Digest::Skip && count > 1) {
    ReadInput<ResultsDocument> read;
    if (auto document = readInParts(fd, path, size, count)) {
      read.content = std::move(*document);
      return read;
    }
    return readWhole(path, digest);
  }

  std::optional<DigestStream> digestStream;
  if (digest == Digest::Sha256) digestStream.emplace();
  ResultsStream stream;
  // A finding takes well over 128 bytes of the file (an error element with its
  // message and a location), so this is room for all of them in all but odd files.
  stream.reserve(static_cast<std::size_t>(info.st_size) / 128);
  // Pieces of at most 1 MiB, and no larger than the file (with a byte to spare, so
  // that a file read in one piece ends at the next read), left uninitialized: a small
  // file costs no more than its size.
  const std::size_t pieceSize =
      std::min<std::size_t>(std::size_t{1} << 20, static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1);
  const std::unique_ptr<char[]> piece = std::make_unique_for_overwrite<char[]>(pieceSize);
  bool declined = false;
  while (!declined) {
    const ssize_t count = ::read(fd, piece.get(), pieceSize);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      throw InputError("Failed to open file:" + path);
    }
    const std::string_view bytes(piece.get(), static_cast<std::size_t>(count));
    if (digestStream) digestStream->add(bytes);
    declined = !stream.feed(bytes);
  }
  std::optional<ResultsDocument> document;
  if (!declined) document = stream.finish();
  if (!document) return readWhole(path, digest);
  ReadInput<ResultsDocument> read;
  read.content = std::move(*document);
  if (digestStream) read.digest = digestStream->finish(path);
  return read;
}

}  // namespace guidegate
