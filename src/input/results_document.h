// The analyzer's findings as read from its XML results file.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace guidegate {

// Where in a file a location points.
struct LinePosition {
  int line = 0;
  int column = 0;
  bool operator==(const LinePosition&) const = default;
};

// One finding of the analyzer: an `error` element of the results file.
struct ResultRecord {
  std::string id;
  std::string severity;
  std::string remark;              // empty unless the finding is an accepted deviation
  std::vector<std::string> files;  // file names of its locations, in document order
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

  // The distinct fatal analysis ids among the findings, ascending, joined by ", ".
  std::string fatalErrorIds() const;
};

// The ids of findings that mean some source file was not fully analysed.
const std::vector<std::string>& fatalAnalysisIds();

}  // namespace guidegate
