// A linear scan of a whole results file's bytes for the faults the XML parser lets
// through or handles too slowly.
#pragma once

#include <cstddef>
#include <string_view>

namespace guidegate {

// The most attributes one element may carry; more make a file invalid.
inline constexpr std::size_t maxAttributesPerElement = 10000;

// Whether `text` (a whole results file) holds a fault that makes it invalid XML although
// the parser would accept it, or that the parser would take quadratic time over:
// - a NUL byte (the parser ends the text there and ignores whatever follows);
// - an element with more than maxAttributesPerElement attributes;
// - a character reference to a character XML does not allow, in an attribute value or
//   in text (`&#0;`, `&#1;`, a surrogate, a value above 0x10FFFF; also `&#;`, which the
//   parser reads as NUL);
// - anything but whitespace and comments after the root element has ended: a second
//   top-level element, text, a CDATA section, a `<!...>` declaration, or an end tag
//   without its start tag (the parser stops reading at such a tag).
// The scan splits the text into markup exactly as the tinyxml2 parser does, so it sees
// references and attributes where the parser sees them (not inside comments or CDATA
// sections). On a text the parser rejects anyway its answer does not matter.
bool holdsMarkupFault(std::string_view text);

// Whether `code` is a character an XML document may contain:
// #x9 | #xA | #xD | [#x20-#xD7FF] | [#xE000-#xFFFD] | [#x10000-#x10FFFF].
constexpr bool isXmlCharacter(unsigned long code) {
  return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
         (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

}  // namespace guidegate
