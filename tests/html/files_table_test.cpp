#include "html/files_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

#include "catalogues/tables.h"
#include "input/files_list.h"

namespace guidegate {
namespace {

const std::string filesHead =
    "<h2>Files</h2><table>\n<thead><tr><th>Filename</th><th>md5sum</th>"
    "<th width=\"300px\">Compliance</th></tr></thead>\n<tbody>\n";
const std::string tableClose = "</tbody></table>\n";

class FilesListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("guidegate-files-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Writes `content` byte for byte and returns the path.
  std::string write(const std::string& content) {
    const auto path = (dir_ / "files.md5").string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  std::string table(const ResultsDocument& document, const std::string& content,
                    const GuidelineCatalogue& catalogue = certCCatalogue) {
    const ResultsIndex index(document);
    return buildFilesTable(buildFileRows(index, readFilesList(write(content)), catalogue));
  }

  std::filesystem::path dir_;
};

// The texts of a hand-made record are string literals, which outlive it.
ResultRecord finding(const char* id, const char* severity, std::vector<const char*> files) {
  static LocationPool places;  // holds the locations for the whole test program
  std::vector<Location> locations;
  for (const char* file : files) locations.push_back({file});
  return ResultRecord{id, severity, "", places.keep(locations)};
}

std::string row(const std::string& name, const std::string& md5, const std::string& compliance) {
  return "<tr><td>" + name + "</td><td>" + md5 + "</td><td>" + compliance + "</td></tr>";
}

TEST_F(FilesListTest, ReadsChecksumAndNameSeparatedByTheFirstRunOfBlanks) {
  const auto entries = readFilesList(write(
      "d41d8cd98f00b204e9800998ecf8427e  src/a.c\n"
      "d41d8cd98f00b204e9800998ecf8427e\tsrc/a.c\n"
      "0123 *src/b.c\n"
      "no-blank-at-all\n"
      "\n"
      " \tlead.c\n"
      "77  my file.c \n"
      "88  crlf.c\r\n"
      "99  last.c"));
  ASSERT_EQ(entries.size(), 7u);
  EXPECT_EQ(entries[0].md5sum, "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(entries[0].fileName, "src/a.c");
  EXPECT_EQ(entries[1].md5sum, "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(entries[1].fileName, "src/a.c");
  EXPECT_EQ(entries[2].md5sum, "0123");
  EXPECT_EQ(entries[2].fileName, "*src/b.c");
  EXPECT_EQ(entries[3].md5sum, "");
  EXPECT_EQ(entries[3].fileName, "lead.c");
  EXPECT_EQ(entries[4].fileName, "my file.c ");
  EXPECT_EQ(entries[5].md5sum, "88");
  EXPECT_EQ(entries[5].fileName, "crlf.c");
  EXPECT_EQ(entries[6].fileName, "last.c");
}

TEST_F(FilesListTest, LinesWhoseBlanksReachTheEndAreSkipped) {
  const auto entries = readFilesList(write("   \nabc   \nabc\t\n11  kept.c\n"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].fileName, "kept.c");
  EXPECT_EQ(entries[0].md5sum, "11");
}

TEST_F(FilesListTest, MissingListThrowsFailedToOpen) {
  const std::string missing = (dir_ / "absent.md5").string();
  for (const std::string& path : {missing, std::string()}) {
    try {
      readFilesList(path);
      ADD_FAILURE() << "no exception for '" << path << "'";
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), "Failed to open file:" + path);
    }
  }
}

TEST_F(FilesListTest, NoListGivesNoSection) {
  EXPECT_EQ(buildFilesTable(std::nullopt), "");
}

TEST_F(FilesListTest, RowsSortedByNameDuplicatesKeptInListOrder) {
  ResultsDocument document;
  document.results = {finding("nullPointer", "error", {"b.c"})};
  const std::string text = "<br>EXP34: There are 1 'nullPointer' message(s).";
  const std::string bText = "There are 1 errors.<br>" + text;
  EXPECT_EQ(table(document, "22  b.c\n11  a.c\n33  b.c\n22  b.c\n"),
            filesHead + row("a.c", "11", "") + row("b.c", "22", bText) + row("b.c", "33", bText) +
                row("b.c", "22", bText) + tableClose);
}

TEST_F(FilesListTest, CertCFileWithAMappedAndAnUnmappedError) {
  ResultsDocument document;
  document.results = {finding("nullPointer", "error", {"src/a.c"}), finding("noGuidelineMapsThis", "error", {"src/a.c"})};
  EXPECT_EQ(table(document, "abc  src/a.c\n"),
            filesHead +
                row("src/a.c", "abc",
                    "There are 2 errors.<br><br>EXP34: There are 1 'nullPointer' message(s).") +
                tableClose);
}

TEST_F(FilesListTest, CountsPerFileSeverityAndLocation) {
  ResultsDocument document;
  document.results = {
      finding("nullPointer", "style", {"a.c", "a.c"}),  // id counts only, once
      finding("deallocuse", "warning", {"a.c"}),        // MEM30 and FIO46 both map it
      finding("nullPointer", "error", {"./a.c"}),       // another file
      finding("memleak", "error", {"other.c"}),         // a file not listed
  };
  EXPECT_EQ(table(document, "1  a.c\n2  ./a.c\n"),
            filesHead +
                row("./a.c", "2", "There are 1 errors.<br><br>EXP34: There are 1 'nullPointer' message(s).") +
                row("a.c", "1",
                    "There are 1 warnings.<br><br>EXP34: There are 1 'nullPointer' message(s)."
                    "<br>MEM30: There are 1 'deallocuse' message(s).<br>FIO46: There are 1 'deallocuse' message(s).") +
                tableClose);
}

TEST_F(FilesListTest, MisraGuidelinesSharingAnIdGiveOneSentenceEach) {
  ResultsDocument document;
  document.results = {finding("comparePointers", "style", {"m.c"}), finding("comparePointers", "style", {"m.c"})};
  EXPECT_EQ(table(document, "5  m.c\n", misraC2023Catalogue),
            filesHead +
                row("m.c", "5",
                    "<br>18.2: There are 2 'comparePointers' message(s).<br>18.3: There are 2 'comparePointers' "
                    "message(s).") +
                tableClose);
}

TEST_F(FilesListTest, IdsAreLookedUpExactlyAsTheCatalogueListsThem) {
  ResultsDocument document;
  document.results = {
      finding("solvane-cert-pre31-c", "style", {"p.c"}),  // PRE31 lists it with the prefix
      finding("cert-pre31-c", "style", {"p.c"}),
      finding("solvane-nullPointer", "style", {"p.c"}),   // EXP34 lists it without
  };
  EXPECT_EQ(table(document, "9  p.c\n"),
            filesHead + row("p.c", "9", "<br>PRE31: There are 1 'solvane-cert-pre31-c' message(s).") + tableClose);
}

TEST_F(FilesListTest, NamesChecksumsAndIdsAreEscaped) {
  ResultsDocument document;
  document.results = {finding("a<b", "style", {"x<y>&'.c"})};
  const GuidelineCatalogue catalogue = {{"G1", "", "a<b"}};
  EXPECT_EQ(table(document, "<b>&\"'  x<y>&'.c\n", catalogue),
            filesHead +
                row("x&lt;y&gt;&amp;&#39;.c", "&lt;b&gt;&amp;&quot;&#39;", "<br>G1: There are 1 'a&lt;b' message(s).") +
                tableClose);
}

}  // namespace
}  // namespace guidegate
