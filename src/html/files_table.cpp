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

// The sentences of one file's findings, in the order of the catalogue's mapped ids.
std::vector<FileMessage> fileMessages(const FileFindings& findings,
                                      const std::unordered_map<std::string_view, std::vector<MappedIdPlace>>& places) {
  std::vector<std::pair<const MappedIdPlace*, int>> found;
  for (const auto& [id, count] : findings.countById) {
    auto place = places.find(id);
    if (place == places.end()) continue;
    for (const auto& p : place->second) found.emplace_back(&p, count);
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.first->position < b.first->position; });
  std::vector<FileMessage> messages;
  messages.reserve(found.size());
  for (const auto& [place, count] : found)
    messages.push_back({place->guideline->id, std::string(place->id), count});
  return messages;
}

std::string complianceText(const FileRow& row) {
  std::string text;
  if (row.errors > 0) text += "There are " + std::to_string(row.errors) + " errors.<br>";
  if (row.warnings > 0) text += "There are " + std::to_string(row.warnings) + " warnings.<br>";
  for (const auto& message : row.messages) {
    text += "<br>" + message.guideline + ": There are " + std::to_string(message.count) + " '";
    appendEscapedHtml(text, message.id);
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

std::vector<FileRow> filesTableRows(const ResultsDocument& document, const std::vector<FileEntry>& entries,
                                    const GuidelineCatalogue& catalogue) {
  std::map<std::string, std::vector<const FileEntry*>> listed;
  for (const auto& entry : entries) listed[entry.fileName].push_back(&entry);

  std::vector<std::vector<std::string>> pieces;
  const auto places = placesOfMappedIds(catalogue, pieces);
  const auto byFile = findingsByFile(document, listed);

  std::vector<FileRow> rows;
  rows.reserve(entries.size());
  for (const auto& [name, sameName] : listed) {
    const FileFindings& findings = byFile.at(name);
    FileRow row{name, "", findings.errors, findings.warnings, fileMessages(findings, places)};
    for (std::size_t i = 0; i + 1 < sameName.size(); ++i) {
      rows.push_back(row);
      rows.back().md5sum = sameName[i]->md5sum;
    }
    row.md5sum = sameName.back()->md5sum;
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string buildFilesTable(const ResultsDocument& document, const std::vector<FileEntry>& entries,
                            const GuidelineCatalogue& catalogue, std::vector<FileRow>* rowsOut) {
  const std::vector<FileRow> rows = filesTableRows(document, entries, catalogue);
  std::string table = "<h2>Files</h2>" + tableHead({th("Filename"), th("md5sum"), complianceHeader});
  const FileRow* previous = nullptr;
  std::string compliance;
  for (const auto& row : rows) {
    // Entries listed twice share one compliance text.
    if (!previous || previous->fileName != row.fileName) compliance = complianceText(row);
    table += tr(td(escapeHtml(row.fileName)) + td(escapeHtml(row.md5sum)) + td(compliance));
    previous = &row;
  }
  table += tableEnd;
  if (rowsOut) *rowsOut = rows;
  return table;
}

std::string buildFilesTable(const ResultsDocument& document, const std::optional<std::string>& filesList,
                            const GuidelineCatalogue& catalogue, std::vector<FileRow>* rows) {
  if (!filesList) return {};
  return buildFilesTable(document, readFilesList(*filesList), catalogue, rows);
}

}  // namespace guidegate
