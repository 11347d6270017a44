// The analyzer's findings as read from its XML results file.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace guidegate {

// The texts of a document's findings, each distinct text held once: ids, severities
// and file names repeat across hundreds of thousands of findings. A view it returns
// stays valid as long as the pool lives. An open-addressing table of views into blocks
// of characters: a lookup costs a hash and, mostly, one comparison.
class TextPool {
 public:
  TextPool() = default;
  TextPool(const TextPool&) = delete;
  TextPool& operator=(const TextPool&) = delete;

  std::string_view intern(std::string_view text);
  std::size_t size() const { return count_; }
  // Takes over the characters of `other`, so that its views live as long as this pool;
  // its texts are not looked up, so a text both pools hold has two views from then on.
  void adopt(TextPool& other);

 private:
  struct Slot {
    std::size_t hash = 0;
    const char* data = nullptr;  // null while the slot is free
    std::size_t size = 0;
  };
  std::string_view store(std::string_view text);
  void grow();

  std::vector<Slot> slots_;  // a power of two of them, at most half of them used
  std::size_t count_ = 0;
  std::vector<std::unique_ptr<char[]>> blocks_;  // never move once allocated
  char* free_ = nullptr;                         // the unused end of the last block
  std::size_t left_ = 0;
};

// One location of a finding: the file as the analyzer names it, line and column (0
// when the location does not say).
struct Location {
  std::string_view file;
  int line = 0;
  int column = 0;
  bool operator==(const Location&) const = default;
};

// The locations of a document's findings, those of each finding side by side, in blocks
// that never move: a finding costs its locations and no allocation of its own. A span
// it returns stays valid as long as the pool lives.
class LocationPool {
 public:
  LocationPool() = default;
  LocationPool(const LocationPool&) = delete;
  LocationPool& operator=(const LocationPool&) = delete;

  std::span<const Location> keep(std::span<const Location> locations);
  // Takes over the locations of `other`, so that its spans live as long as this pool.
  void adopt(LocationPool& other);

 private:
  std::vector<std::unique_ptr<Location[]>> blocks_;
  Location* free_ = nullptr;  // the unused end of the last block
  std::size_t left_ = 0;
};

// One finding of the analyzer: an `error` element of the results file. Its texts are
// views into the document's text pool and its locations a span of its location pool
// (or, in tests, of data that outlives it).
struct ResultRecord {
  std::string_view id;
  std::string_view severity;
  std::string_view remark;              // empty unless the finding is an accepted deviation
  std::span<const Location> locations;  // in document order; the first is where the finding is
};

// Everything the report needs from one results file. Built once, then read-only.
struct ResultsDocument {
  std::string checkingTool = "Tarnwick";
  std::vector<ResultRecord> results;
  std::vector<std::string> suppressions;  // suppressed error ids, file order, duplicates kept
  std::set<std::string> checkers;         // checker ids that ran
  bool inlineSuppr = false;
  bool safety = false;
  int xmlVersion = 2;
  std::string rootName = "results";  // the name of the root element
  bool hasErrorsElement = true;      // whether the root has an `errors` child, even an empty one
  // Hold the texts and the locations the findings view; shared by every copy of the document.
  std::shared_ptr<TextPool> texts = std::make_shared<TextPool>();
  std::shared_ptr<LocationPool> places = std::make_shared<LocationPool>();

  // The distinct fatal analysis ids among the findings, ascending, joined by ", ".
  std::string fatalErrorIds() const;
};

// The ids of findings that mean some source file was not fully analysed.
const std::vector<std::string>& fatalAnalysisIds();

}  // namespace guidegate
