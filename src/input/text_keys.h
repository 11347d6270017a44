// Hash-table keys made of a document's texts. Most of them are views of one pool, where
// equal texts are the same view: comparing them needs no reading of their characters.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <string_view>
#include <utility>

namespace guidegate {

inline bool sameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.data() == b.data() || a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

struct TextEqual {
  bool operator()(std::string_view a, std::string_view b) const { return sameText(a, b); }
};

// Keys that tell views apart by where they point, not by what they read: a pool gives
// each distinct text one view, so a table of them meets each distinct text of a document
// once (or a few times, for texts not from its pool), and a lookup reads no characters.
struct ViewHash {
  std::size_t operator()(std::string_view view) const { return std::hash<const void*>{}(view.data()) ^ view.size(); }
};

struct SameView {
  bool operator()(std::string_view a, std::string_view b) const { return a.data() == b.data() && a.size() == b.size(); }
};

// An analyzer id and a file name, say.
using TextPair = std::pair<std::string_view, std::string_view>;

struct TextPairHash {
  std::size_t operator()(const TextPair& key) const {
    const std::hash<std::string_view> hash;
    return hash(key.first) * 31 + hash(key.second);
  }
};

struct TextPairEqual {
  bool operator()(const TextPair& a, const TextPair& b) const {
    return sameText(a.first, b.first) && sameText(a.second, b.second);
  }
};

}  // namespace guidegate
