// Checks the indexed Files section and the Unmapped rows against a plain scan written
// the straightforward way: per listed file, count the findings with countById, then
// walk the catalogue; per severity, count every id and keep those no row maps.
// The documents are generated from a fixed seed and meant to hit the awkward cases:
// repeated and unlisted file names, findings without locations or with one file named
// twice, ids that differ only by the "solvane-" prefix, by case or by a suffix, and
// ids and names that need escaping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "catalogues/coding_standard.h"
#include "html/html_escape.h"
#include "input/files_list.h"
#include "classify/id_list.h"
#include "html/files_table.h"
#include "html/report_body.h"

namespace guidegate {
namespace {

// A small deterministic generator (the same sequence on every platform).
struct Generator {
  std::uint64_t state;
  explicit Generator(std::uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint32_t next(std::uint32_t bound) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(state >> 33) % bound;
  }
  template <typename T>
  const T& pick(const std::vector<T>& pool) {
    return pool[next(static_cast<std::uint32_t>(pool.size()))];
  }
};

// One catalogue made for the awkward cases: an id listed twice in a row, the same id
// in several rows, a "solvane-" id beside its plain form.
const GuidelineCatalogue awkwardCatalogue = {
    {"A1", "", "nullPointer,nullPointer"},
    {"A2", "", "uninitvar, nullPointer"},
    {"A3", "", "solvane-cert-exp33-c,cert-exp33-c"},
    {"A4", "", ""},
    {"A1", "", "memleak"},
};

struct Standard {
  std::string name;
  GuidelineCatalogue catalogue;
  bool misraC = false;  // MISRA C bodies have no Unmapped section
};

std::vector<Standard> standards() {
  std::vector<Standard> all;
  for (const auto standard : {CodingStandard::CertC, CodingStandard::CertCpp, CodingStandard::MisraCpp2008,
                              CodingStandard::MisraCpp2023, CodingStandard::CweTop25}) {
    const ReportCatalogue catalogue = reportCatalogue(standard);
    all.push_back({std::string(standardInfo(standard).title), catalogue.guidelines()});
  }
  all.push_back({"Misra C 2012", misraCCatalogue(MisraCEdition::Edition2012), true});
  all.push_back({"Misra C 2023", misraCCatalogue(MisraCEdition::Edition2023), true});
  all.push_back({"awkward", awkwardCatalogue});
  return all;
}

// Every id some catalogue maps, in both forms, and ids none maps.
std::vector<std::string> idPool(const std::vector<Standard>& all) {
  std::set<std::string> ids = {"", "unmappedThing", "UnmappedThing", "nullPointerArithmetic", "a<b&\"c'>",
                               "solvane-unmappedThing", "solvane-solvane-nullPointer", "misra-config"};
  for (const auto& standard : all)
    for (const auto& row : standard.catalogue)
      for (const auto& id : splitIdList(row.mappedIds)) {
        ids.insert(id);
        ids.insert("solvane-" + id);
        if (id.starts_with("misra-c20")) ids.insert("solvane-misra-c-" + id.substr(7));
      }
  return {ids.begin(), ids.end()};
}

const std::vector<std::string> severities = {"error", "warning", "style", "information", "", "Error", "error "};

std::vector<std::string> filePool(Generator& random, std::uint32_t count) {
  std::vector<std::string> files = {"src/a.c", "./src/a.c", "src/A.c", "src/a.c ", "x<y>&'\".c", "*src/b.c"};
  for (std::uint32_t i = 0; i < count; ++i)
    files.push_back("src/module" + std::to_string(random.next(9)) + "/file" + std::to_string(i) + ".c");
  return files;
}

struct Input {
  ResultsDocument document;
  std::string filesList;  // the md5sum-style text
};

Input generate(std::uint64_t seed, int findings, std::uint32_t fileCount, const std::vector<std::string>& ids) {
  Generator random(seed);
  const std::vector<std::string> files = filePool(random, fileCount);
  Input input;
  for (int i = 0; i < findings; ++i) {
    TextPool& texts = *input.document.texts;
    ResultRecord record{texts.intern(random.pick(ids)), texts.intern(random.pick(severities)),
                        random.next(50) == 0 ? "ok" : "", {}};
    const std::uint32_t count = random.next(10) == 0 ? 0 : 1 + random.next(3);
    std::vector<Location> locations;
    for (std::uint32_t l = 0; l < count; ++l)
      locations.push_back({l > 0 && random.next(3) == 0 ? locations.front().file : texts.intern(random.pick(files))});
    record.locations = input.document.places->keep(locations);
    input.document.results.push_back(record);
  }
  // Most files are listed, some twice with different checksums, some not at all, and
  // a few listed names have no finding.
  for (const auto& file : files) {
    const std::uint32_t copies = random.next(8) == 0 ? 0 : random.next(6) == 0 ? 2 : 1;
    for (std::uint32_t c = 0; c < copies; ++c)
      input.filesList += std::to_string(100000 + random.next(900000)) + "cafe  " + file + "\n";
  }
  input.filesList += "d41d8cd98f00b204e9800998ecf8427e  never/named.c\n";
  return input;
}

// The number of findings per id located in `fileName` with `severity`, by a scan of all
// findings; an empty filter lets every finding pass.
std::map<std::string, int> scanCountById(const ResultsDocument& document, const std::string& fileName,
                                         const std::string& severity) {
  std::map<std::string, int> counts;
  for (const auto& record : document.results) {
    if (!severity.empty() && record.severity != severity) continue;
    if (!fileName.empty() && std::none_of(record.locations.begin(), record.locations.end(),
                                          [&](const Location& location) { return location.file == fileName; }))
      continue;
    ++counts[std::string(record.id)];
  }
  return counts;
}

// The Files section as the text lays it down, one scan per file name.
std::string plainFilesTable(const ResultsDocument& document, const std::vector<FileEntry>& entries,
                            const GuidelineCatalogue& catalogue, std::vector<FileRow>& rows) {
  std::set<std::string> names;
  for (const auto& entry : entries) names.insert(entry.fileName);
  auto total = [](const std::map<std::string, int>& counts) {
    int sum = 0;
    for (const auto& [id, count] : counts) sum += count;
    return sum;
  };
  std::string table =
      "<h2>Files</h2><table>\n<thead><tr><th>Filename</th><th>md5sum</th>"
      "<th width=\"300px\">Compliance</th></tr></thead>\n<tbody>\n";
  for (const auto& name : names) {
    const int errors = total(scanCountById(document, name, "error"));
    const int warnings = total(scanCountById(document, name, "warning"));
    const std::map<std::string, int> counts = scanCountById(document, name, "");
    std::string text;
    if (errors > 0) text += "There are " + std::to_string(errors) + " errors.<br>";
    if (warnings > 0) text += "There are " + std::to_string(warnings) + " warnings.<br>";
    std::vector<FileMessage> messages;
    for (const auto& row : catalogue)
      for (const auto& id : splitIdList(row.mappedIds))
        if (auto found = counts.find(id); found != counts.end()) {
          text += "<br>" + row.id + ": There are " + std::to_string(found->second) + " '" + id + "' message(s).";
          messages.push_back({row.id, id, found->second});
        }
    for (const auto& entry : entries) {
      if (entry.fileName != name) continue;
      table += "<tr><td>" + escapeHtml(name) + "</td><td>" + escapeHtml(entry.md5sum) + "</td><td>" + text +
               "</td></tr>";
      rows.push_back({name, entry.md5sum, errors, warnings, messages});
    }
  }
  return table + "</tbody></table>\n";
}

// The Unmapped section as the text lays it down.
std::string plainUnmappedSection(const ResultsDocument& document, const GuidelineCatalogue& catalogue) {
  std::set<std::string> known;
  for (const auto& row : catalogue)
    for (const auto& id : splitIdList(row.mappedIds)) {
      known.insert(id);
      known.insert("solvane-" + id);
    }
  std::string rows;
  for (const std::string severity : {"error", "warning"})
    for (const auto& [id, count] : scanCountById(document, "", severity))
      if (!known.contains(id))
        rows += "<tr><td>" + severity + "</td><td>" + escapeHtml(id) + "</td><td>" + std::to_string(count) +
                "</td></tr>\n";
  if (rows.empty()) return rows;
  return "<h2>Unmapped</h2>Errors/warnings that have not been mapped to a guideline.<br><table>\n"
         "<thead><tr><th>Severity</th><th>Id</th><th width=\"300px\">Number of reports</th></tr></thead>\n"
         "<tbody>\n" +
         rows + "</tbody></table>\n";
}

std::string describe(const std::vector<FileRow>& rows) {
  std::string text;
  for (const auto& row : rows) {
    text += row.fileName + "|" + row.md5sum + "|" + std::to_string(row.errors) + "|" + std::to_string(row.warnings);
    for (const auto& message : row.messages)
      text += "|" + message.guideline + ":" + message.id + "=" + std::to_string(message.count);
    text += "\n";
  }
  return text;
}

class FilesTableDifferential : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("guidegate-files-differential-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string writeList(const std::string& text) {
    const auto path = (dir_ / "files.md5").string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  std::filesystem::path dir_;
};

TEST_F(FilesTableDifferential, IndexedSectionsAgreeWithAPlainScan) {
  const std::vector<Standard> all = standards();
  const std::vector<std::string> ids = idPool(all);
  struct Size {
    int findings;
    std::uint32_t files;
  };
  // Many findings per file, few findings over many files, a crowd in a few files, none.
  const std::vector<Size> sizes = {{3000, 60}, {800, 400}, {1200, 4}, {0, 10}};
  std::uint64_t seed = 20261208;
  for (const auto& size : sizes) {
    const Input input = generate(seed++, size.findings, size.files, ids);
    const ResultsDocument& document = input.document;
    const std::string listPath = writeList(input.filesList);
    const std::vector<FileEntry> entries = readFilesList(listPath);
    ASSERT_FALSE(entries.empty());

    for (const auto& standard : all) {
      SCOPED_TRACE(standard.name + ", " + std::to_string(size.findings) + " findings over " +
                   std::to_string(size.files) + " files");
      std::vector<FileRow> plainRows;
      const std::string plainTable = plainFilesTable(document, entries, standard.catalogue, plainRows);

      const ResultsIndex index(document);
      const std::vector<FileRow> rows = buildFileRows(index, entries, standard.catalogue);
      EXPECT_EQ(buildFilesTable(rows), plainTable);
      EXPECT_EQ(describe(rows), describe(plainRows));

      // The body writers place the same section after the Unmapped one (not for MISRA C)
      // and before the Violations table.
      ComplianceEvaluation evaluation;
      evaluation.files = rows;
      std::string expected;
      std::string body;
      if (standard.misraC) {
        expected = plainTable;
        body = buildMisraCReportBody(evaluation);
      } else {
        evaluation.unmapped = unmappedCounts(index, standard.catalogue);
        expected = plainUnmappedSection(document, standard.catalogue) + plainTable;
        body = buildReportBody(evaluation);
      }
      EXPECT_EQ(body.substr(0, expected.size()), expected);
      EXPECT_EQ(body.substr(expected.size(), 19), "<h2>Violations</h2>");
    }
  }
}

}  // namespace
}  // namespace guidegate
