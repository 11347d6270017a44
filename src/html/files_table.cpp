#include "html/files_table.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "classify/html_escape.h"
#include "classify/id_list.h"
#include "html/cells.h"

namespace guidegate {
namespace {

// What the findings located in one listed file add up to.
struct FileFindings {
  int errors = 0;
  int warnings = 0;
  std::unordered_map<std::string_view, int> countById;
};

// Where each analyzer id stands among the catalogue's mapped ids, so that a file's
// sentences come out in catalogue order without walking the catalogue per file.
struct MappedIdPlace {
  std::size_t position;
  const Guideline* guideline;
  std::string_view id;
};

std::unordered_map<std::string_view, std::vector<MappedIdPlace>> placesOfMappedIds(
    const GuidelineCatalogue& catalogue, std::vector<std::vector<std::string>>& pieces) {
  std::unordered_map<std::string_view, std::vector<MappedIdPlace>> places;
  pieces.reserve(catalogue.size());
  std::size_t position = 0;
  for (const auto& row : catalogue) {
    pieces.push_back(splitIdList(row.mappedIds));
    for (const auto& id : pieces.back()) places[id].push_back({position++, &row, id});
  }
  return places;
}

// Indexes the findings by the listed file names they are located in: a finding
// counts once per file however many of its locations name it.
std::unordered_map<std::string_view, FileFindings> findingsByFile(const ResultsDocument& document,
                                                                   const std::map<std::string, std::vector<const FileEntry*>>& listed) {
  std::unordered_map<std::string_view, FileFindings> byFile;
  byFile.reserve(listed.size());
  for (const auto& [name, entries] : listed) byFile[name];
  for (const auto& record : document.results) {
    const auto& files = record.files;
    for (std::size_t i = 0; i < files.size(); ++i) {
      if (std::find(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(i), files[i]) !=
          files.begin() + static_cast<std::ptrdiff_t>(i))
        continue;
      auto found = byFile.find(files[i]);
      if (found == byFile.end()) continue;
      FileFindings& findings = found->second;
      if (record.severity == "error")
        ++findings.errors;
      else if (record.severity == "warning")
        ++findings.warnings;
      ++findings.countById[record.id];
    }
  }
  return byFile;
}

std::string complianceText(const FileFindings& findings,
                           const std::unordered_map<std::string_view, std::vector<MappedIdPlace>>& places) {
  std::string text;
  if (findings.errors > 0) text += "There are " + std::to_string(findings.errors) + " errors.<br>";
  if (findings.warnings > 0) text += "There are " + std::to_string(findings.warnings) + " warnings.<br>";

  std::vector<std::pair<const MappedIdPlace*, int>> sentences;
  for (const auto& [id, count] : findings.countById) {
    auto found = places.find(id);
    if (found == places.end()) continue;
    for (const auto& place : found->second) sentences.emplace_back(&place, count);
  }
  std::sort(sentences.begin(), sentences.end(),
            [](const auto& a, const auto& b) { return a.first->position < b.first->position; });
  for (const auto& [place, count] : sentences) {
    text += "<br>" + place->guideline->id + ": There are " + std::to_string(count) + " '";
    appendEscapedHtml(text, place->id);
    text += "' message(s).";
  }
  return text;
}

}  // namespace

std::vector<FileEntry> readFilesList(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("Failed to open file:" + path);
  std::vector<FileEntry> entries;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto blank = line.find_first_of(" \t");
    if (blank == std::string::npos) continue;
    const auto name = line.find_first_not_of(" \t", blank);
    if (name == std::string::npos) continue;
    entries.push_back({line.substr(name), line.substr(0, blank)});
  }
  return entries;
}

std::string buildFilesTable(const ResultsDocument& document, const std::vector<FileEntry>& entries,
                            const GuidelineCatalogue& catalogue) {
  std::map<std::string, std::vector<const FileEntry*>> listed;
  for (const auto& entry : entries) listed[entry.fileName].push_back(&entry);

  std::vector<std::vector<std::string>> pieces;
  const auto places = placesOfMappedIds(catalogue, pieces);
  const auto byFile = findingsByFile(document, listed);

  std::string table = "<h2>Files</h2>" + tableHead({th("Filename"), th("md5sum"), complianceHeader});
  for (const auto& [name, sameName] : listed) {
    const std::string compliance = complianceText(byFile.at(name), places);
    const std::string nameCell = td(escapeHtml(name));
    for (const FileEntry* entry : sameName) table += tr(nameCell + td(escapeHtml(entry->md5sum)) + td(compliance));
  }
  table += tableEnd;
  return table;
}

std::string buildFilesTable(const ResultsDocument& document, const std::optional<std::string>& filesList,
                            const GuidelineCatalogue& catalogue) {
  if (!filesList) return {};
  return buildFilesTable(document, readFilesList(*filesList), catalogue);
}

}  // namespace guidegate
