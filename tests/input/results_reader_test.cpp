// Reading the analyzer's XML results file, and the two queries on the document.
#include "input/results_reader.h"

#include "input/results_stream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace guidegate {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::vector<Location> locationsOf(const ResultRecord& record) {
  return {record.locations.begin(), record.locations.end()};
}

class ResultsReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("guidegate-results-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& content) {
    const std::string path = (dir_ / "results.xml").string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  ResultsDocument load(const std::string& xml) { return loadResultsDocument(write(xml)); }

  static std::string errorText(const std::string& path) {
    try {
      loadResultsDocument(path);
    } catch (const std::runtime_error& error) {
      return error.what();
    }
    return "(no error)";
  }

  // The error of reading `path` in parts, as a large file is read.
  static std::string errorTextOf(const std::string& path) {
    try {
      loadResultsInput(path, Digest::Skip, {3, 1});
    } catch (const std::runtime_error& error) {
      return error.what();
    }
    return "(no error)";
  }

  static std::string ids(const ResultsDocument& document) {
    std::string text;
    for (const auto& record : document.results) (text += record.id) += ";";
    return text;
  }

  fs::path dir_;
};

TEST_F(ResultsReaderTest, RootWithoutChildrenKeepsTheDefaults) {
  const auto document = load("<?xml version=\"1.0\"?>\n<anything/>\n");
  EXPECT_EQ(document.checkingTool, "Tarnwick");
  EXPECT_TRUE(document.results.empty());
  EXPECT_TRUE(document.suppressions.empty());
  EXPECT_TRUE(document.checkers.empty());
  EXPECT_EQ(document.xmlVersion, 2);
  EXPECT_FALSE(document.inlineSuppr);
  EXPECT_FALSE(document.safety);
}

// The name of the root and whether an errors element is there at all: a file of
// another shape reads as no findings, which the run then warns about.
TEST_F(ResultsReaderTest, RootNameAndWhetherAnErrorsElementIsThere) {
  const auto other = load("<?xml version=\"1.0\"?>\n<anything><error id=\"x\" severity=\"error\"/></anything>\n");
  EXPECT_EQ(other.rootName, "anything");
  EXPECT_FALSE(other.hasErrorsElement);
  const auto empty = load("<results version=\"3\"><errors/></results>");
  EXPECT_EQ(empty.rootName, "results");
  EXPECT_TRUE(empty.hasErrorsElement);
  EXPECT_TRUE(empty.results.empty());
  const auto second = load("<results><tarnwick/><errors></errors><errors><error id=\"a\"/></errors></results>");
  EXPECT_TRUE(second.hasErrorsElement);
  EXPECT_EQ(ids(second), "a;");
  // Only a direct child of the root counts.
  EXPECT_FALSE(load("<results><x><errors><error id=\"a\"/></errors></x></results>").hasErrorsElement);
  EXPECT_EQ(load("<Results><errors/></Results>").rootName, "Results");
}

TEST_F(ResultsReaderTest, ToolNameAndVersion) {
  EXPECT_EQ(load("<results><tarnwick version=\"2.14\"/></results>").checkingTool, "Tarnwick 2.14");
  EXPECT_EQ(load("<results><tarnwick product-name=\"Tarnwick Enterprise\"/></results>").checkingTool,
            "Tarnwick Enterprise");
  EXPECT_EQ(load("<results><tarnwick product-name=\"Tw\" version=\"3.0\"/></results>").checkingTool, "Tw 3.0");
  EXPECT_EQ(load("<results><tarnwick version=\"1\"/><tarnwick version=\"2\"/></results>").checkingTool,
            "Tarnwick 1 2");
  EXPECT_EQ(load("<results><tarnwick version=\"1\"/><tarnwick product-name=\"P\" version=\"2\"/></results>")
                .checkingTool,
            "P 2");
  EXPECT_EQ(load("<results><errors><tarnwick version=\"9\"/></errors></results>").checkingTool, "Tarnwick");
}

TEST_F(ResultsReaderTest, OnlyErrorsDirectlyUnderTopLevelErrorsAreRead) {
  const auto document = load(R"(<results>
  <error id="underRoot" severity="error"/>
  <errors>
    <error id="first" severity="error"><error id="nestedInError" severity="error"/></error>
    <group><error id="nestedInGroup" severity="error"/></group>
    <warning id="otherName" severity="warning"/>
  </errors>
  <other><errors><error id="underOtherParent" severity="error"/></errors></other>
  <errors><error id="second" severity="style"/><error id="first" severity="error"/></errors>
</results>)");
  EXPECT_EQ(ids(document), "first;second;first;");
}

TEST_F(ResultsReaderTest, RecordFields) {
  const auto document = load(R"(<results><errors>
  <error id="nullPointer" severity="error" msg="ignored" remark="checked by a &amp; b &lt;ok&gt;">
    <location file="a.c" line="3"/>
    <location line="4"/>
    <symbol file="not-a-location.c"/>
    <location file="b.c"/>
  </error>
  <error/>
</errors></results>)");
  ASSERT_EQ(document.results.size(), 2u);
  const auto& first = document.results[0];
  EXPECT_EQ(first.id, "nullPointer");
  EXPECT_EQ(first.severity, "error");
  EXPECT_EQ(first.remark, "checked by a & b <ok>");
  EXPECT_EQ(locationsOf(first), (std::vector<Location>{{"a.c", 3, 0}, {"b.c", 0, 0}}));
  const auto& bare = document.results[1];
  EXPECT_EQ(bare.id, "");
  EXPECT_EQ(bare.severity, "");
  EXPECT_EQ(bare.remark, "");
  EXPECT_TRUE(bare.locations.empty());
}

TEST_F(ResultsReaderTest, EachLocationKeepsItsLineAndColumn) {
  const auto document = load(R"(<results><errors>
  <error id="a"><location file="a.c" line="12" column="5"/><location line="4"/><location file="b.c"/></error>
  <error id="b"><location file="c.c" line="-3" column="x"/><location file="d.c" line="7a" column="99999999999"/></error>
</errors></results>)");
  ASSERT_EQ(document.results.size(), 2u);
  EXPECT_EQ(locationsOf(document.results[0]), (std::vector<Location>{{"a.c", 12, 5}, {"b.c", 0, 0}}));
  // What is not a positive number the analyzer could have written is "not said".
  EXPECT_EQ(locationsOf(document.results[1]), (std::vector<Location>{{"c.c", 0, 0}, {"d.c", 0, 0}}));
}

TEST_F(ResultsReaderTest, SuppressionsAndCheckers) {
  const auto document = load(R"(<results>
  <suppressions><suppression errorId="uninitvar"/><suppression fileName="x.c"/></suppressions>
  <errors><suppression errorId="misplaced"/></errors>
  <suppressions><suppression errorId="uninitvar"/></suppressions>
  <checkers-report><checker id="CheckB::run"/><checker/><checker id="CheckA::run"/></checkers-report>
  <checkers-report><checker id="CheckB::run"/><other id="CheckC::run"/></checkers-report>
</results>)");
  EXPECT_EQ(document.suppressions, (std::vector<std::string>{"uninitvar", "", "uninitvar"}));
  EXPECT_EQ(document.checkers, (std::set<std::string>{"CheckA::run", "CheckB::run"}));
}

TEST_F(ResultsReaderTest, MarkersOnlyAsDirectChildrenOfTheRoot) {
  const auto marked = load("<results><inline-suppr/><safety></safety></results>");
  EXPECT_TRUE(marked.inlineSuppr);
  EXPECT_TRUE(marked.safety);
  const auto nested = load("<results><errors><inline-suppr/><safety/></errors></results>");
  EXPECT_FALSE(nested.inlineSuppr);
  EXPECT_FALSE(nested.safety);
}

TEST_F(ResultsReaderTest, RootVersionReadAsANumber) {
  EXPECT_EQ(load("<results version=\"3\"/>").xmlVersion, 3);
  EXPECT_EQ(load("<results version=\"x\"/>").xmlVersion, 0);
  EXPECT_EQ(load("<results version=\"4beta\"/>").xmlVersion, 4);
  EXPECT_NO_THROW(load("<results version=\"99999999999999999999999999\"/>"));
}

TEST_F(ResultsReaderTest, ErrorMessagesNameThePath) {
  const std::pair<std::string, std::string> cases[] = {
      {" \n\t\n", "Invalid XML data in file:"},
      {"", "Invalid XML data in file:"},
      {"<results><errors></results>", "Invalid XML data in file:"},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", "Invalid file:"},
      {"<!-- no results -->\n", "Invalid file:"}};
  for (const auto& [content, message] : cases) {
    const auto path = write(content);
    EXPECT_EQ(errorText(path), message + path) << '"' << content << '"';
  }
  const auto missing = (dir_ / "missing.xml").string();
  EXPECT_EQ(errorText(missing), "Failed to open file:" + missing);
}

// Only whitespace and comments may follow the root element: whatever else follows
// would be dropped unseen, and the report could call the project compliant.
TEST_F(ResultsReaderTest, ContentAfterTheRootIsInvalidXml) {
  const char* const faulty[] = {
      "<results/><results><errors><error id=\"x\" severity=\"error\"/></errors></results>",
      "<results></results>\n<errors/>\n",
      "<results/>text after the root<x/>",
      "<results/>&amp;<x/>",
      // The parser stops reading at an end tag without its start tag.
      "<results/></results><results><errors><error id=\"x\" severity=\"error\"/></errors></results>",
      "<results></results></results>",
      "</stray><results/>",
      "<results/></x/>",
      "<results/><![CDATA[x]]>",
      "<results/><!DOCTYPE results>",
      "<results/><!-- fine --><second/>",
  };
  for (const char* content : faulty) {
    const auto path = write(content);
    EXPECT_EQ(errorText(path), "Invalid XML data in file:" + path) << content;
  }
  const auto trailing = load("<?xml version=\"1.0\"?>\n<results version=\"3\"><errors>"
                             "<error id=\"kept\" severity=\"style\"/></errors></results>\n"
                             "<!-- </results><x/> &#0; -->\n \t\r\n<!---->");
  EXPECT_EQ(ids(trailing), "kept;");
  EXPECT_EQ(trailing.xmlVersion, 3);
  // Before the root and inside it, markup of every kind stays as it was.
  const auto inside = load("<!DOCTYPE results>text before<!-- c --><results>"
                           "<![CDATA[</results><x/>&#0;]]>text<errors><error id=\"a\"/></errors></results>");
  EXPECT_EQ(ids(inside), "a;");
}

// A character reference to a character XML does not allow is invalid XML, wherever the
// parser decodes references: in attribute values and in text, not in comments or CDATA.
TEST_F(ResultsReaderTest, ReferencesToForbiddenCharactersAreInvalidXml) {
  const char* const references[] = {
      "&#0;",      "&#1;",      "&#x1F;",     "&#xD800;",  "&#xDFFF;", "&#55296;",
      "&#xFFFE;",  "&#xFFFF;",  "&#x110000;", "&#1114112;", "&#99999999999999999999999;",
      "&#x000000000000000000000000000000000000000000000000110000;", "&#;", "&#x;"};
  for (const char* reference : references) {
    for (const std::string& content :
         {"<results><errors><error id=\"nullPointer" + std::string(reference) + "-x\" severity=\"error\"/></errors></results>",
          "<results><errors><error id=\"x\" msg='" + std::string(reference) + "'/></errors></results>",
          "<results><errors>" + std::string(reference) + "</errors></results>"}) {
      const auto path = write(content);
      EXPECT_EQ(errorText(path), "Invalid XML data in file:" + path) << content;
    }
  }
  const auto allowed = load(
      "<results><errors><error id=\"&#9;&#10;&#13;&#32;&#xD7FF;&#xE000;&#xFFFD;&#x10000;&#x10FFFF;&#0000065;\" "
      "severity=\"&#x41;&#x0000000000000000000042;\" remark=\"&#12a;&#x1g;\"/></errors>"
      "<!-- &#0; --><![CDATA[&#0;]]></results>");
  ASSERT_EQ(allowed.results.size(), 1u);
  EXPECT_EQ(allowed.results[0].id, "\t\n\r \xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD\xF0\x90\x80\x80\xF4\x8F\xBF\xBF" "A");
  EXPECT_EQ(allowed.results[0].severity, "AB");
  // A reference the parser cannot decode stays text, as it always has.
  EXPECT_EQ(allowed.results[0].remark, "&#12a;&#x1g;");
}

std::string elementWithAttributes(std::size_t count) {
  std::string xml = "<results><errors><error id=\"x\" severity=\"error\"";
  for (std::size_t i = 2; i < count; ++i) xml += " a" + std::to_string(i) + "=\"\"";
  return xml + "/></errors></results>\n";
}

// The parser compares each attribute with all earlier ones: one element with 100,000
// of them would take half a minute. More than 10,000 make the file invalid, found before
// the parser runs.
TEST_F(ResultsReaderTest, ElementsWithMoreThanTenThousandAttributesAreInvalidXml) {
  EXPECT_EQ(load(elementWithAttributes(10000)).results.size(), 1u);
  for (std::size_t count : {10001, 100000}) {
    const auto path = write(elementWithAttributes(count));
    EXPECT_EQ(errorText(path), "Invalid XML data in file:" + path) << count;
  }
  std::string commented = "<results><!--<x";
  for (int i = 0; i < 10001; ++i) commented += " a" + std::to_string(i) + "=\"\"";
  EXPECT_EQ(load(commented + "/>--></results>").results.size(), 0u);
}

TEST_F(ResultsReaderTest, DevicesAreRefusedAndReadErrorsAreNoShortInput) {
  for (const std::string device : {"/dev/zero", "/dev/null", "/dev/urandom"})
    EXPECT_EQ(errorText(device), "Failed to open file:" + device);
  // Reading the start of its own memory fails with an I/O error.
  EXPECT_EQ(errorText("/proc/self/mem"), "Failed to open file:/proc/self/mem");
  EXPECT_EQ(errorText(dir_.string()), "Failed to open file:" + dir_.string());
}

// A FIFO or a pipe (as a shell's process substitution passes it) is read to its end.
TEST_F(ResultsReaderTest, FifosAndPipesAreRead) {
  const std::string xml = "<results version=\"3\"><errors>" +
                          std::string(200000, ' ') + "<error id=\"piped\" severity=\"error\"/></errors></results>\n";
  const auto fifo = (dir_ / "fifo.xml").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << xml; });
  const auto fromFifo = loadResultsDocument(fifo);
  writer.join();
  EXPECT_EQ(ids(fromFifo), "piped;");

  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  std::thread feeder([&] {
    for (std::size_t at = 0; at < xml.size();) {
      const auto written = ::write(ends[1], xml.data() + at, xml.size() - at);
      if (written <= 0) break;
      at += static_cast<std::size_t>(written);
    }
    ::close(ends[1]);
  });
  const auto fromPipe = loadResultsDocument("/dev/fd/" + std::to_string(ends[0]));
  feeder.join();
  ::close(ends[0]);
  EXPECT_EQ(ids(fromPipe), "piped;");
  EXPECT_EQ(fromPipe.xmlVersion, 3);
}

// The texts of a hand-made record are string literals, which outlive it.
ResultRecord record(const char* id, const char* severity, std::vector<const char*> files = {}) {
  static LocationPool places;  // holds the locations for the whole test program
  std::vector<Location> locations;
  for (const char* file : files) locations.push_back({file});
  return ResultRecord{id, severity, "", places.keep(locations)};
}

// A large file is read in parts at once; the document is the reference's, and a fault
// in any part ends in the reference's error.
TEST_F(ResultsReaderTest, AFileReadInPartsReadsAsTheReferenceReadsIt) {
  std::string findings;
  for (int i = 0; i < 30000; ++i)
    findings += "<error id=\"id" + std::to_string(i % 97) +
                "\" severity=\"style\" msg=\"message\">\n"
                "  <location file=\"src/f" +
                std::to_string(i % 13) + ".c\" line=\"" + std::to_string(i) + "\" column=\"2\"/>\n</error>\n";
  const std::string head = "<?xml version=\"1.0\"?>\n<results version=\"2\"><tarnwick version=\"2.1\"/><errors>\n";
  const std::string tail =
      "</errors><tarnwick product-name=\"Tarnwick Pro\"/><suppressions><suppression errorId=\"x\"/></suppressions>"
      "<checkers-report><checker id=\"C::1\"/></checkers-report><safety/></results>\n";
  ASSERT_GT(findings.size(), std::size_t{3} << 20);
  for (const std::size_t parts : {1, 2, 3, 8}) {
    SCOPED_TRACE(parts);
    const std::string path = write(head + findings + tail);
    const ResultsDocument read = loadResultsInput(path, Digest::Skip, {parts, 1}).content;
    const ResultsDocument expected = readResultsReference(head + findings + tail, path);
    EXPECT_TRUE(sameDocument(read, expected));
    ASSERT_EQ(read.results.size(), 30000u);
    EXPECT_EQ(read.checkingTool, "Tarnwick Pro");
    // Read in parts, each part pools its own texts.
    const Location& last = read.results[29991].locations[0];  // of the same file as the first
    EXPECT_EQ(last.file, read.results.front().locations[0].file);
    EXPECT_EQ(last.file.data() != read.results.front().locations[0].file.data(), parts > 1);
  }
  // A fault in the last part: content after the root, an entity expat does not know.
  for (const std::string& fault : {"<after/>"s, "<!-- -->&bad;"s}) {
    const std::string path = write(head + findings + "</errors></results>" + fault);
    EXPECT_EQ(errorTextOf(path), "Invalid XML data in file:" + path);
  }
  // A text the fast reader declines in a later part goes to the reference.
  const std::string path = write(head + findings + "<error id=\"a\tb\"/>" + tail);
  const ResultsDocument read = loadResultsInput(path, Digest::Skip, {2, 1}).content;
  ASSERT_EQ(read.results.size(), 30001u);
  EXPECT_EQ(read.results.back().id, "a\tb");
}

TEST(ResultsDocumentTest, FatalErrorIdsAreDistinctAndAscending) {
  ResultsDocument document;
  EXPECT_EQ(document.fatalErrorIds(), "");
  document.results = {record("syntaxError", "error"), record("internalError", "error"),
                      record("nullPointer", "error"), record("internalError", "error"),
                      record("SyntaxError", "error")};
  EXPECT_EQ(document.fatalErrorIds(), "internalError, syntaxError");
  document.results.clear();
  for (const char* id : {"unknownMacro", "tarnwickLimit", "tarnwickError", "syntaxError", "preprocessorErrorDirective",
                         "internalError", "internalAstError", "instantiationError", "uninitvar"})
    document.results.push_back(record(id, "error"));
  EXPECT_EQ(document.fatalErrorIds(),
            "instantiationError, internalAstError, internalError, preprocessorErrorDirective, syntaxError, "
            "tarnwickError, tarnwickLimit, unknownMacro");
}

}  // namespace
}  // namespace guidegate
