// Input texts made safe for the places CI systems show them.
#include <string_view>

#include "exports/exports.h"

namespace guidegate {
namespace {

constexpr std::string_view wordJoiner = "\u2060";  // invisible, and breaks every pattern below
constexpr std::string_view replacement = "\uFFFD";

// The length of the valid UTF-8 sequence at the start of `text` and its code point, or
// 0 when it does not start with one (an overlong form, a surrogate, past U+10FFFF, cut).
std::size_t utf8Sequence(std::string_view text, char32_t& point) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  if (lead < 0x80) {
    point = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    point = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    point = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    point = (point << 6) | (byte(i) & 0x3F);
  }
  if ((length == 3 && point < 0x800) || (length == 4 && point < 0x10000) || point > 0x10FFFF ||
      (point >= 0xD800 && point <= 0xDFFF))
    return 0;
  return length;
}

bool lineBreak(char32_t point) {
  return point == '\n' || point == '\r' || point == '\v' || point == '\f' || point == 0x85 || point == 0x2028 ||
         point == 0x2029;
}

// Code points that no output shows as they are: controls (but tab), and the controls that
// reorder text, which could make a text read as something it is not.
bool unshown(char32_t point) {
  return (point < 0x20 && point != '\t') || (point >= 0x7F && point <= 0x9F) || (point >= 0x202A && point <= 0x202E) ||
         (point >= 0x2066 && point <= 0x2069) || point == 0xFFFE || point == 0xFFFF;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

}  // namespace

std::string neutralText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  if (!text.empty() && text.front() == '/') out += wordJoiner;  // not a "/command" where it starts a line
  for (std::size_t i = 0; i < text.size();) {
    char32_t point = 0;
    const std::size_t length = utf8Sequence(text.substr(i), point);
    if (length == 0) {
      out += replacement;
      ++i;
      continue;
    }
    const std::string_view sequence = text.substr(i, length);
    i += length;
    if (lineBreak(point) || point == '\t') {
      out += ' ';
      continue;
    }
    if (unshown(point)) {
      out += replacement;
      continue;
    }
    out += sequence;
    switch (point) {
      // ":" ends a URL scheme and opens "::" commands and emoji names; "@" e-mail addresses
      // and mentions; "#", "!", "~", "%", "&" and "$" references to issues, merge requests,
      // labels, milestones, epics and snippets; "<" tags and autolinks. A word joiner
      // after each keeps them from being recognised.
      case ':':
      case '@':
      case '#':
      case '!':
      case '~':
      case '%':
      case '&':
      case '$':
      case '<': out += wordJoiner; break;
      default: break;
    }
    // "www." starts a link without a scheme, "GH-" an issue reference.
    const std::string_view rest = text.substr(i);
    if ((startsWithIgnoringCase(sequence, "w") && rest.starts_with(".") && out.size() >= 3 &&
         startsWithIgnoringCase(std::string_view(out).substr(out.size() - 3), "www")) ||
        (startsWithIgnoringCase(sequence, "h") && rest.starts_with("-") && out.size() >= 2 &&
         startsWithIgnoringCase(std::string_view(out).substr(out.size() - 2), "gh")))
      out += wordJoiner;
  }
  return out;
}

}  // namespace guidegate
