// What the fuzz targets share: scratch files for readers that take a path, and the
// check that text taken from the inputs never became markup of the report.
#pragma once

#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace guidegate::fuzz {

// Stops the run so that libFuzzer keeps the input that broke a property.
[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

// A file rewritten with each fuzz input, in GUIDEGATE_FUZZ_SCRATCH, else /dev/shm,
// else /tmp; removed when the process ends normally.
class ScratchFile {
 public:
  explicit ScratchFile(const char* name) {
    const char* chosen = std::getenv("GUIDEGATE_FUZZ_SCRATCH");
    for (const char* directory : {chosen, "/dev/shm", "/tmp"}) {
      if (!directory || ::access(directory, W_OK) != 0) continue;
      path_ = std::string(directory) + "/guidegate-fuzz-" + std::to_string(::getpid()) + "-" + name;
      return;
    }
    fail("no writable scratch directory");
  }
  ~ScratchFile() { ::unlink(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& path() const { return path_; }

  // Replaces the file's bytes with `bytes`.
  const std::string& write(std::string_view bytes) const {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file) fail("cannot create the scratch file");
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) fail("short write");
    if (std::fclose(file) != 0) fail("cannot close the scratch file");
    return path_;
  }

 private:
  std::string path_;
};

inline bool tagStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '/' || c == '!' || c == '?';
}

inline bool nameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Calls `visit` with the name of every tag in `text`: every '<' that an HTML parser
// would read as the start of a tag, followed by its name; with whether the tag closes
// an element ("</name") and the character after the name ('\0' at the end of `text`).
template <typename Visit>
void forEachTag(std::string_view text, Visit visit) {
  for (auto at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    if (at + 1 >= text.size() || !tagStart(text[at + 1])) continue;
    std::size_t begin = at + 1;
    const bool closing = text[begin] == '/';
    if (closing) ++begin;
    std::size_t end = begin;
    while (end < text.size() && nameCharacter(text[end])) ++end;
    visit(text.substr(begin, end - begin), closing, end < text.size() ? text[end] : '\0');
  }
}

template <typename Visit>
void forEachTagName(std::string_view text, Visit visit) {
  forEachTag(text, [&](std::string_view name, bool, char) { visit(name); });
}

using TagNames = std::set<std::string, std::less<>>;

// The tags the report writes itself.
inline TagNames reportTagNames() {
  return {"html", "head", "meta", "title", "style", "body", "h1", "h2", "b", "br", "font",
          "a",    "table", "thead", "tbody", "tr", "th", "td"};
}

// Adds the names of the tags in `text` to `names`.
inline void addTagNames(std::string_view text, TagNames& names) {
  forEachTagName(text, [&](std::string_view name) { names.emplace(name); });
}

// Every tag of `html` is one of `known` (the report's own tags and those that
// built-in headlines carry), and the table elements open and close in equal
// numbers. Text from the inputs is escaped, so it can neither add a tag nor
// unbalance a table.
inline void checkMarkup(std::string_view html, const TagNames& known) {
  // An element opens with "<name>" or "<name " and closes with "</name>".
  static constexpr std::array<std::string_view, 7> balanced{"tr", "td", "th", "table", "thead", "tbody", "h2"};
  std::array<std::ptrdiff_t, balanced.size()> open{};
  forEachTag(html, [&](std::string_view name, bool closing, char after) {
    for (std::size_t i = 0; i < balanced.size(); ++i)
      if (name == balanced[i]) {
        if (closing ? after == '>' : after == '>' || after == ' ') open[i] += closing ? -1 : 1;
        return;
      }
    if (known.find(name) == known.end()) fail(("a tag the report does not write: " + std::string(name)).c_str());
  });
  for (std::size_t i = 0; i < balanced.size(); ++i)
    if (open[i] != 0) fail(("unbalanced element: " + std::string(balanced[i])).c_str());
}

// The pieces of `text` separated by lines that read "%%": at most `most` pieces, the
// last one taking the rest.
inline std::vector<std::string_view> sections(std::string_view text, std::size_t most) {
  constexpr std::string_view separator = "\n%%\n";
  std::vector<std::string_view> pieces;
  while (pieces.size() + 1 < most) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos) break;
    pieces.push_back(text.substr(0, at));
    text.remove_prefix(at + separator.size());
  }
  pieces.push_back(text);
  return pieces;
}

}  // namespace guidegate::fuzz
