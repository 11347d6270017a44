#include "input/markup_scan.h"

#include <algorithm>
#include <cstring>

namespace guidegate {
namespace {

// The parser's notion of whitespace: isspace in the C locale, never a byte of a
// multi-byte character.
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The parser's name characters: any byte from 0x80 up counts as a letter.
bool isNameStart(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == ':' || u == '_';
}

bool isNameCharacter(char c) { return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-'; }

const char* skipSpace(const char* p, const char* end) {
  while (p < end && isSpace(*p)) ++p;
  return p;
}

const char* skipName(const char* p, const char* end) {
  while (p < end && isNameCharacter(*p)) ++p;
  return p;
}

const char* find(const char* from, const char* end, char c) {
  return static_cast<const char*>(std::memchr(from, c, static_cast<std::size_t>(end - from)));
}

// Just after the first `terminator` at or after `from`, or null when there is none.
const char* after(const char* from, const char* end, std::string_view terminator) {
  const std::string_view rest(from, static_cast<std::size_t>(end - from));
  const auto at = rest.find(terminator);
  return at == std::string_view::npos ? nullptr : from + at + terminator.size();
}

bool startsWith(const char* p, const char* end, std::string_view prefix) {
  return static_cast<std::size_t>(end - p) >= prefix.size() && std::memcmp(p, prefix.data(), prefix.size()) == 0;
}

int digitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Whether the raw text [begin, end) of an attribute value or a text node holds a
// character reference that the parser decodes to a character XML does not allow.
// The parser decodes "&#" up to the first ';' of the text: it reads the digits
// backwards from the ';' to the nearest 'x' (after "&#x") or '#', and keeps the whole
// reference as text when a character on the way is no digit or there is no ';'.
// No digits at all decode to 0.
bool holdsForbiddenReference(const char* begin, const char* end) {
  for (const char* amp = find(begin, end, '&'); amp; amp = find(amp + 1, end, '&')) {
    if (end - amp < 3 || amp[1] != '#') continue;
    const bool hex = amp[2] == 'x';
    const char* digits = amp + (hex ? 3 : 2);
    if (digits >= end) continue;
    const char* semicolon = find(digits, end, ';');
    if (!semicolon) continue;
    const char stop = hex ? 'x' : '#';
    const char* first = semicolon;
    while (first[-1] != stop) --first;
    unsigned long code = 0;
    bool decoded = true;
    for (const char* q = first; q < semicolon && decoded; ++q) {
      const int digit = digitValue(*q, hex);
      decoded = digit >= 0;
      code = std::min(code * (hex ? 16 : 10) + static_cast<unsigned long>(std::max(digit, 0)), 0x110000UL);
    }
    if (decoded && !isXmlCharacter(code)) return true;
  }
  return false;
}

}  // namespace

bool holdsMarkupFault(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return true;
  const char* p = text.data();
  const char* const end = p + text.size();
  std::size_t depth = 0;    // elements open
  bool rootEnded = false;   // the first element has ended
  // Whenever the parser would reject the text at `p`, it reads no further, so neither
  // does the scan: it answers false and leaves the verdict to the parser.
  while (true) {
    const char* const start = p;
    p = skipSpace(p, end);
    if (p == end) return false;
    if (*p != '<') {
      const char* const open = find(p, end, '<');
      if (!open) return false;  // text that runs to the end: the parser rejects it
      if (rootEnded || holdsForbiddenReference(start, open)) return true;
      p = open;
      continue;
    }
    if (startsWith(p, end, "<?")) {
      p = after(p + 2, end, "?>");
    } else if (startsWith(p, end, "<!--")) {
      p = after(p + 4, end, "-->");
    } else if (startsWith(p, end, "<![CDATA[")) {
      if (rootEnded) return true;
      p = after(p + 9, end, "]]>");
    } else if (startsWith(p, end, "<!")) {
      if (rootEnded) return true;
      p = after(p + 2, end, ">");
    } else {
      p = skipSpace(p + 1, end);
      const bool endTag = p < end && *p == '/';
      if (endTag) ++p;
      if (p == end || !isNameStart(*p)) return false;
      p = skipName(p + 1, end);
      std::size_t attributes = 0;
      bool empty = false;  // "/>": the parser reads even "</a/>" as an empty element
      while (true) {
        p = skipSpace(p, end);
        if (p == end) return false;
        if (isNameStart(*p)) {
          p = skipSpace(skipName(p + 1, end), end);
          if (p == end || *p != '=') return false;
          p = skipSpace(p + 1, end);
          if (p == end || (*p != '"' && *p != '\'')) return false;
          const char* const value = p + 1;
          const char* const close = find(value, end, *p);
          if (!close) return false;
          if (++attributes > maxAttributesPerElement || holdsForbiddenReference(value, close)) return true;
          p = close + 1;
        } else if (*p == '>') {
          ++p;
          break;
        } else if (*p == '/' && end - p >= 2 && p[1] == '>') {
          p += 2;
          empty = true;
          break;
        } else {
          return false;
        }
      }
      if (endTag && !empty) {
        if (depth == 0) return true;  // an end tag without its start: the parser stops here
        if (--depth == 0) rootEnded = true;
      } else {
        if (rootEnded) return true;
        if (!empty)
          ++depth;
        else if (depth == 0)
          rootEnded = true;
      }
    }
    if (!p) return false;  // unterminated: the parser rejects it
  }
}

}  // namespace guidegate
