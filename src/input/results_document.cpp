#include "input/results_document.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace guidegate {

namespace {

constexpr std::size_t blockSize = std::size_t{64} * 1024;
constexpr char emptyText[1] = {};  // a view of it has no characters, but is no null one

}  // namespace

std::string_view TextPool::intern(std::string_view text) {
  if (text.empty()) return std::string_view(emptyText);
  if (count_ * 2 >= slots_.size()) grow();
  const std::size_t hash = std::hash<std::string_view>{}(text);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    Slot& slot = slots_[at];
    if (!slot.data) {
      const std::string_view stored = store(text);
      slot = {hash, stored.data(), stored.size()};
      ++count_;
      return stored;
    }
    if (slot.hash == hash && slot.size == text.size() && std::memcmp(slot.data, text.data(), text.size()) == 0)
      return {slot.data, slot.size};
  }
}

// Copies `text` into the blocks; a text longer than a block gets one of its own.
std::string_view TextPool::store(std::string_view text) {
  if (text.size() > left_) {
    if (text.size() > blockSize / 4) {
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(text.size() + 1));
      std::memcpy(blocks_.back().get(), text.data(), text.size());
      return {blocks_.back().get(), text.size()};
    }
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize));
    free_ = blocks_.back().get();
    left_ = blockSize;
  }
  std::memcpy(free_, text.data(), text.size());
  const std::string_view stored(free_, text.size());
  free_ += text.size();
  left_ -= text.size();
  return stored;
}

void TextPool::adopt(TextPool& other) {
  blocks_.reserve(blocks_.size() + other.blocks_.size());
  for (auto& block : other.blocks_) blocks_.push_back(std::move(block));
  other.blocks_.clear();
  other.slots_.clear();
  other.count_ = 0;
  other.free_ = nullptr;
  other.left_ = 0;
}

void TextPool::grow() {
  std::vector<Slot> old(std::max<std::size_t>(64, slots_.size() * 2));
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (!slot.data) continue;
    std::size_t at = slot.hash & mask;
    while (slots_[at].data) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

std::span<const Location> LocationPool::keep(std::span<const Location> locations) {
  if (locations.empty()) return {};
  constexpr std::size_t perBlock = blockSize / sizeof(Location);
  Location* stored = nullptr;
  if (locations.size() > perBlock / 4) {
    blocks_.push_back(std::make_unique<Location[]>(locations.size()));
    stored = blocks_.back().get();
  } else {
    if (locations.size() > left_) {
      blocks_.push_back(std::make_unique<Location[]>(perBlock));
      free_ = blocks_.back().get();
      left_ = perBlock;
    }
    stored = free_;
    free_ += locations.size();
    left_ -= locations.size();
  }
  std::copy(locations.begin(), locations.end(), stored);
  return {stored, locations.size()};
}

void LocationPool::adopt(LocationPool& other) {
  blocks_.reserve(blocks_.size() + other.blocks_.size());
  for (auto& block : other.blocks_) blocks_.push_back(std::move(block));
  other.blocks_.clear();
  other.free_ = nullptr;
  other.left_ = 0;
}

const std::vector<std::string>& fatalAnalysisIds() {
  static const std::vector<std::string> ids = {
      "tarnwickError", "tarnwickLimit",  "internalAstError", "instantiationError",
      "internalError", "preprocessorErrorDirective", "syntaxError", "unknownMacro"};
  return ids;
}

std::string ResultsDocument::fatalErrorIds() const {
  const auto& fatal = fatalAnalysisIds();
  std::set<std::string_view> found;
  for (const auto& record : results) {
    if (found.size() == fatal.size()) break;
    if (std::find(fatal.begin(), fatal.end(), record.id) != fatal.end()) found.insert(record.id);
  }
  std::string text;
  for (const auto& id : found) {
    if (!text.empty()) text += ", ";
    text += id;
  }
  return text;
}

}  // namespace guidegate
