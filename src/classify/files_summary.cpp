#include "classify/files_summary.h"

#include <cstdint>
#include <map>
#include <string_view>
#include <unordered_map>

#include "classify/id_list.h"
#include "input/text_keys.h"

namespace guidegate {
namespace {

// Where an analyzer id stands among the catalogue's mapped ids: a file's sentences
// come out in this order.
struct MappedIdPlace {
  const Guideline* guideline;
  std::string_view id;
};

// The catalogue's mapped ids in catalogue order; the views point into `pieces`.
std::vector<MappedIdPlace> mappedIdPlaces(const GuidelineCatalogue& catalogue,
                                          std::vector<std::vector<std::string>>& pieces) {
  std::vector<MappedIdPlace> places;
  pieces.reserve(catalogue.size());
  for (const auto& row : catalogue) {
    pieces.push_back(splitIdList(row.mappedIds));
    for (const auto& id : pieces.back()) places.push_back({&row, id});
  }
  return places;
}

// One sentence of a Files row: a mapped id of one guideline and its findings in the file.
struct Sentence {
  const MappedIdPlace* place;
  int count;
};

// What the findings located in one listed file name add up to.
struct FileSummary {
  int errors = 0;
  int warnings = 0;
  std::vector<Sentence> sentences;  // in catalogue order
};

// The summaries of the listed file names, in the order of `names`. A finding counts
// once per file however many of its locations name it. Each finding's locations are
// looked up once; the counts per id come from the index, so no step walks all
// findings per file or per guideline.
std::vector<FileSummary> summarizeFiles(const ResultsIndex& results, const std::vector<std::string_view>& names,
                                        const std::vector<MappedIdPlace>& places) {
  std::unordered_map<std::string_view, std::uint32_t> numberOf;
  numberOf.reserve(names.size());
  for (std::uint32_t n = 0; n < names.size(); ++n) numberOf.emplace(names[n], n);
  constexpr auto none = static_cast<std::uint32_t>(-1);
  // The locations' file names repeat: each distinct view is looked up by its text once.
  std::unordered_map<std::string_view, std::uint32_t, ViewHash, SameView> numberOfView;
  auto fileNumber = [&](std::string_view file) {
    const auto [known, added] = numberOfView.try_emplace(file, none);
    if (added)
      if (const auto found = numberOf.find(file); found != numberOf.end()) known->second = found->second;
    return known->second;
  };

  // The listed files of finding i are fileNumbers[firstFile[i] .. firstFile[i + 1]).
  const auto& records = results.document().results;
  std::vector<FileSummary> summaries(names.size());
  std::vector<std::uint32_t> firstFile;
  std::vector<std::uint32_t> fileNumbers;
  firstFile.reserve(records.size() + 1);
  fileNumbers.reserve(records.size());
  std::vector<std::uint32_t> lastFinding(names.size(), none);  // drops a file named twice by one finding
  for (std::uint32_t i = 0; i < records.size(); ++i) {
    firstFile.push_back(static_cast<std::uint32_t>(fileNumbers.size()));
    const ResultRecord& record = records[i];
    for (const auto& location : record.locations) {
      const std::uint32_t n = fileNumber(location.file);
      if (n == none || lastFinding[n] == i) continue;
      lastFinding[n] = i;
      fileNumbers.push_back(n);
      if (record.severity == "error")
        ++summaries[n].errors;
      else if (record.severity == "warning")
        ++summaries[n].warnings;
    }
  }
  firstFile.push_back(static_cast<std::uint32_t>(fileNumbers.size()));

  // Per mapped id, the files its findings are located in and how many there are.
  std::unordered_map<std::string_view, std::vector<std::pair<std::uint32_t, int>>> filesOfId;
  std::vector<int> count(names.size(), 0);
  for (const auto& place : places) {
    const auto [counted, added] = filesOfId.try_emplace(place.id);
    if (!added) continue;
    std::vector<std::uint32_t> touched;
    for (const std::uint32_t i : results.findingsWithId(place.id))
      for (std::uint32_t k = firstFile[i]; k < firstFile[i + 1]; ++k)
        if (count[fileNumbers[k]]++ == 0) touched.push_back(fileNumbers[k]);
    for (const std::uint32_t n : touched) {
      counted->second.emplace_back(n, count[n]);
      count[n] = 0;
    }
  }
  // Walking the places in catalogue order appends each file's sentences in that order.
  for (const auto& place : places)
    for (const auto& [n, c] : filesOfId.at(place.id)) summaries[n].sentences.push_back({&place, c});
  return summaries;
}

// The files list grouped by file name, names in ascending order, entries of one name
// in list order.
using ListedFiles = std::map<std::string_view, std::vector<const FileEntry*>>;

ListedFiles listedFiles(const std::vector<FileEntry>& entries) {
  ListedFiles listed;
  for (const auto& entry : entries) listed[entry.fileName].push_back(&entry);
  return listed;
}

std::vector<std::string_view> namesOf(const ListedFiles& listed) {
  std::vector<std::string_view> names;
  names.reserve(listed.size());
  for (const auto& [name, sameName] : listed) names.push_back(name);
  return names;
}

std::vector<FileRow> rowsOf(const ListedFiles& listed, const std::vector<FileSummary>& summaries) {
  std::vector<FileRow> rows;
  auto summary = summaries.begin();
  for (const auto& [name, sameName] : listed) {
    std::vector<FileMessage> messages;
    messages.reserve(summary->sentences.size());
    for (const auto& [place, count] : summary->sentences)
      messages.push_back({place->guideline->id, std::string(place->id), count});
    for (const FileEntry* entry : sameName)
      rows.push_back({std::string(name), entry->md5sum, summary->errors, summary->warnings, messages});
    ++summary;
  }
  return rows;
}

}  // namespace

std::vector<FileRow> buildFileRows(const ResultsIndex& results, const std::vector<FileEntry>& entries,
                                   const GuidelineCatalogue& catalogue) {
  const ListedFiles listed = listedFiles(entries);
  std::vector<std::vector<std::string>> pieces;
  const auto places = mappedIdPlaces(catalogue, pieces);
  return rowsOf(listed, summarizeFiles(results, namesOf(listed), places));
}

}  // namespace guidegate
