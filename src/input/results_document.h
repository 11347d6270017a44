// The analyzer's findings as read from its XML results file.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace guidegate {

// The texts of a document's findings, each distinct text held once: ids, severities
// and file names repeat across hundreds of thousands of findings. A view it returns
// stays valid as long as the pool lives.
class TextPool {
 public:
  std::string_view intern(std::string_view text);
  std::size_t size() const { return texts_.size(); }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_set<std::string, Hash, std::equal_to<>> texts_;  // nodes never move
};

// Where in a file a location points.
struct LinePosition {
  int line = 0;
  int column = 0;
  bool operator==(const LinePosition&) const = default;
};

// One finding of the analyzer: an `error` element of the results file. Its texts are
// views into the document's pool (or, in tests, into string literals).
struct ResultRecord {
  std::string_view id;
  std::string_view severity;
  std::string_view remark;              // empty unless the finding is an accepted deviation
  std::vector<std::string_view> files;  // file names of its locations, in document order
  // Line and column of each location in `files`, in the same order; 0 when the
  // location does not say.
  std::vector<LinePosition> positions;
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
  // Holds the texts the findings view; shared by every copy of the document.
  std::shared_ptr<TextPool> texts = std::make_shared<TextPool>();

  // The distinct fatal analysis ids among the findings, ascending, joined by ", ".
  std::string fatalErrorIds() const;
};

// The ids of findings that mean some source file was not fully analysed.
const std::vector<std::string>& fatalAnalysisIds();

}  // namespace guidegate
