// The fast reader of results files against the reference reader, at the edges where
// the two parsers differ: each text reads to the same document or the same error on
// both paths, and where the fast reader cannot vouch for that it declines.
#include "input/results_stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "input/results_reader.h"

namespace guidegate {
namespace {

using namespace std::string_literals;

const std::string invalid = "Invalid XML data in file:results.xml";

// The reference's document, or the message of its error.
struct Reading {
  std::optional<ResultsDocument> document;
  std::string error;
};

Reading reference(const std::string& text) {
  try {
    return {readResultsReference(text, "results.xml"), ""};
  } catch (const std::runtime_error& error) {
    return {std::nullopt, error.what()};
  }
}

// Whether the fast reader, fed the text whole and byte by byte, agrees with the
// reference whenever it does not decline; true when it read the text itself.
bool fastAgrees(const std::string& text) {
  const Reading expected = reference(text);
  bool read = false;
  const std::size_t small = text.size() < 4096 ? 1 : 4096;  // byte by byte is quadratic in a long tag
  for (const std::size_t pieceSize : {std::size_t{1} << 20, small}) {
    const auto fast = streamResults(text, pieceSize);
    if (!fast) continue;
    read = true;
    EXPECT_TRUE(expected.document) << "the fast reader read a text the reference refuses: " << expected.error;
    if (expected.document) {
      EXPECT_TRUE(sameDocument(*fast, *expected.document));
    }
  }
  // Read in parts, cut after any tag or two: the same as read at once.
  const auto whole = streamResults(text);
  std::vector<std::size_t> tags;
  for (std::size_t at = 1; at <= text.size() && text.size() < 100000; ++at)
    if (text[at - 1] == '>') tags.push_back(at);
  auto check = [&](const std::vector<std::size_t>& cuts) {
    const auto inParts = streamResultsInParts(text, cuts);
    EXPECT_EQ(inParts.has_value(), whole.has_value()) << "cut at " << cuts.front() << ", " << cuts.back();
    if (inParts && whole) {
      EXPECT_TRUE(sameDocument(*inParts, *whole)) << "cut at " << cuts.front() << ", " << cuts.back();
    }
  };
  for (std::size_t i = 0; i < tags.size(); ++i) {
    check({tags[i]});
    for (std::size_t j = i + 1; j < tags.size() && tags.size() <= 40; ++j) check({tags[i], tags[j]});
  }
  return read;
}

std::string withError(const std::string& errorElement) {
  return "<?xml version=\"1.0\"?>\n<results version=\"3\"><errors>" + errorElement + "</errors></results>\n";
}

TEST(ResultsStream, ReadsAPlainFileAsTheReferenceDoes) {
  const std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<results version=\"3\">\n"
      "  <tarnwick version=\"2.14\"/>\n  <safety/><inline-suppr/>\n  <errors>\n"
      "    <error id=\"nullPointer\" severity=\"error\" msg=\"a\tmessage\nover lines\" remark=\"ok &amp; &#233;\">\n"
      "      <location file=\"src/a.c\" line=\"12\" column=\"5\" info=\"x\"/>\n"
      "      <location file=\"src/b.c\" line=\"-1\" column=\"x\"/><location line=\"3\"/>\n"
      "    </error>\n    <error id=\"uninitvar\"/>\n    <warning id=\"not-an-error\"/>\n  </errors>\n"
      "  <suppressions><suppression errorId=\"x\"/><suppression/></suppressions>\n"
      "  <checkers-report><checker id=\"C::a\"/><checker/></checkers-report>\n</results>\n";
  EXPECT_TRUE(fastAgrees(text));
  const auto fast = streamResults(text);
  ASSERT_TRUE(fast);
  ASSERT_EQ(fast->results.size(), 2u);
  EXPECT_EQ(fast->results[0].remark, "ok & \xc3\xa9");
  EXPECT_EQ(std::vector<Location>(fast->results[0].locations.begin(), fast->results[0].locations.end()),
            (std::vector<Location>{{"src/a.c", 12, 5}, {"src/b.c", 0, 0}}));
  EXPECT_EQ(fast->suppressions, (std::vector<std::string>{"x", ""}));
  EXPECT_EQ(fast->checkingTool, "Tarnwick 2.14");
  // One copy of each distinct text: the file name of a thousand findings is held once.
  std::string many = "<results><errors>";
  for (int i = 0; i < 1000; ++i) many += "<error id=\"a\" severity=\"style\"><location file=\"src/a.c\"/></error>";
  const auto pooled = streamResults(many + "</errors></results>");
  ASSERT_TRUE(pooled);
  EXPECT_EQ(pooled->results.front().locations[0].file.data(), pooled->results.back().locations[0].file.data());
  EXPECT_EQ(pooled->texts->size(), 3u);
}

// Expat turns a tab, CR or LF in an attribute value into a space; the reference keeps
// them (CR LF as LF). In a kept attribute the fast reader declines; elsewhere it reads on.
TEST(ResultsStream, BreaksInKeptAttributesGoToTheReference) {
  const std::string tab = withError("<error id=\"a\tb\" severity=\"error\"/>");
  EXPECT_FALSE(streamResults(tab));
  EXPECT_EQ(reference(tab).document->results[0].id, "a\tb");
  const std::string crlf = withError("<error id=\"a\"><location file=\"x\r\ny.c\" line=\"1\"/></error>");
  EXPECT_FALSE(streamResults(crlf));
  EXPECT_EQ(reference(crlf).document->results[0].locations[0].file, "x\ny.c");
  for (const std::string& text :
       {withError("<error id=\"a\" severity=\"err\nor\"/>"), withError("<error id=\"a\" remark=\"r\r\"/>"),
        "<results version=\"\t3\"/>"s, withError("<error id=\"a\"><location file=\"f\" column=\"\n2\"/></error>"),
        "<results><tarnwick product-name=\"T\n\" version=\"1\"/></results>"s,
        "<results><suppressions><suppression errorId=\"a\tb\"/></suppressions></results>"s,
        "<results><checkers-report><checker id=\"a\nb\"/></checkers-report></results>"s}) {
    EXPECT_FALSE(streamResults(text)) << text;
    EXPECT_FALSE(fastAgrees(text));
  }
  // Wherever the break stands in a long value, whatever the tag's length.
  for (std::size_t at = 0; at < 40; ++at)
    for (const char c : {'\t', '\n', '\r'}) {
      std::string id(40, 'i');
      id[at] = c;
      EXPECT_FALSE(streamResults(withError("<error id=\"" + id + "\"/>"))) << at;
      EXPECT_FALSE(streamResults(withError("<error severity=\"error\" id=\"" + id.substr(0, at + 1) + "\"/>"))) << at;
    }
  // Breaks between attributes and in attributes nobody reads change nothing.
  const std::string elsewhere = withError("<error\n\tid=\"a\"\r\n severity=\"error\" msg=\"two\nlines\"/>");
  EXPECT_TRUE(fastAgrees(elsewhere));
  // A reference to the character is not normalised by either parser.
  EXPECT_TRUE(fastAgrees(withError("<error id=\"a&#9;b&#10;c&#13;\"/>")));
}

// What the reference reads differently from a plain XML parser: a DOCTYPE's entities,
// a declared encoding, unknown entities, text that is not UTF-8.
TEST(ResultsStream, DeclarationsAndEntitiesReadAsTheReferenceReadsThem) {
  const std::string doctype =
      "<?xml version=\"1.0\"?><!DOCTYPE results [<!ENTITY e \"expanded\"><!ATTLIST error severity CDATA "
      "\"error\">]>\n<results><errors><error id=\"&e;\"/></errors></results>";
  EXPECT_FALSE(streamResults(doctype));
  EXPECT_FALSE(fastAgrees(doctype));
  EXPECT_FALSE(streamResults("<!DOCTYPE results SYSTEM \"results.dtd\"><results/>"));

  // The declared encoding is not honoured: the bytes are UTF-8 either way.
  const std::string latin1 =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><results><errors><error id=\"\xc3\xa9\"/></errors></results>";
  EXPECT_TRUE(fastAgrees(latin1));
  EXPECT_EQ(streamResults(latin1)->results[0].id, "\xc3\xa9");

  for (const std::string& text : {withError("<error id=\"a&foo;b\"/>"), withError("<error id=\"a & b\"/>"),
                                  withError("<error id=\"\xff\xfe\"/>"), withError("<error id=\"\xc3\"/>")}) {
    EXPECT_FALSE(streamResults(text)) << text;
    EXPECT_TRUE(reference(text).document) << text;
  }
  EXPECT_EQ(reference(withError("<error id=\"a&foo;b\"/>")).document->results[0].id, "a&foo;b");
}

// Every fault the reference's scan or parser refuses is refused on both paths, with the
// reference's message.
TEST(ResultsStream, FaultsEndInTheReferencesError) {
  const std::string attributeBomb = [] {
    std::string tag = "<results><errors><error";
    for (int i = 0; i <= 10000; ++i) tag += " a" + std::to_string(i) + "=\"\"";
    return tag + "/></errors></results>";
  }();
  std::string deep;
  for (int i = 0; i < 150; ++i) deep += "<a>";
  for (int i = 0; i < 150; ++i) deep += "</a>";
  for (const std::string& text :
       {""s, "   \n"s, "<!-- only a comment -->"s, "<results/><results/>"s, "<results/>text"s,
        "<results/><![CDATA[x]]>"s, "<results/></results>"s, withError("<error id=\"&#0;\"/>"),
        withError("<error id=\"&#1;\"/>"), withError("<error id=\"&#xD800;\"/>"), withError("<error id=\"&#;\"/>"),
        "<results>&#0;</results>"s, "<results/>\0<x/>"s, "<results><errors>\0</errors></results>"s, attributeBomb,
        deep, "<results><errors></results>"s, "<results a=\"1\" a=\"2\"/>"s}) {
    SCOPED_TRACE(text.substr(0, 60));
    EXPECT_FALSE(streamResults(text));
    EXPECT_FALSE(fastAgrees(text));
    EXPECT_FALSE(reference(text).document);
  }
  EXPECT_EQ(reference("<results/><x/>").error, invalid);
  EXPECT_EQ(reference(withError("<error id=\"&#0;\"/>")).error, invalid);
  EXPECT_EQ(reference(attributeBomb).error, invalid);
  EXPECT_EQ(reference("<results/>\0"s).error, invalid);
}

// Comments, processing instructions and CDATA sections are no elements: a CDATA section
// that looks like an error is text.
TEST(ResultsStream, CommentsInstructionsAndCdataAreNoFindings) {
  const std::string text =
      "<?xml version=\"1.0\"?><?style x?><!-- before -->\n<results version=\"3\"><!-- c --><errors>"
      "<![CDATA[<error id=\"no\"/>]]><error id=\"a\"><!-- <location file=\"no.c\"/> --></error></errors>"
      "</results>\n<!-- after -->\n";
  EXPECT_TRUE(fastAgrees(text));
  const auto fast = streamResults(text);
  ASSERT_TRUE(fast);
  ASSERT_EQ(fast->results.size(), 1u);
  EXPECT_EQ(fast->results[0].id, "a");
  EXPECT_TRUE(fast->results[0].locations.empty());
  // The reference reads an instruction as a declaration, allowed only before everything
  // but other declarations.
  for (const std::string& text : {"<results/><?pi after the root?>"s, "<results><?pi x?></results>"s,
                                  "<!-- c --><?pi x?><results/>"s}) {
    EXPECT_FALSE(streamResults(text)) << text;
    EXPECT_FALSE(reference(text).document) << text;
  }
  EXPECT_TRUE(fastAgrees("\xef\xbb\xbf<results version=\"2\"/>"));
}

// A text read in parts by streams of their own, each after the first a continuation,
// joins into the document one stream reads, whatever the parts after a boundary hold.
TEST(ResultsStream, PartsJoinIntoTheDocumentOfOne) {
  const std::string head =
      "<?xml version=\"1.0\"?>\n<results version=\"3\"><tarnwick product-name=\"T\" version=\"1\"/><safety/>"
      "<suppressions><suppression errorId=\"s1\"/></suppressions><errors>"
      "<error id=\"a\" severity=\"style\"><location file=\"f.c\" line=\"1\"/></error>";
  for (const std::string& tail :
       {"<error id=\"b\"/></errors></results>"s,
        "\n<error id=\"b\" remark=\"r\"><location file=\"f.c\" line=\"2\" column=\"3\"/></error>"
        "<!-- c --></errors><tarnwick version=\"2\"/><inline-suppr/><suppressions><suppression errorId=\"s2\"/>"
        "</suppressions><checkers-report><checker id=\"k\"/></checkers-report></results>\n"s,
        "</errors><tarnwick product-name=\"U\"/><errors><error id=\"c\"/></errors></results>"s,
        "</errors></results>"s}) {
    SCOPED_TRACE(tail);
    ResultsStream first;
    ASSERT_TRUE(first.feed(head));
    ASSERT_TRUE(first.atErrorBoundary());
    ASSERT_EQ(first.rootName(), "results");
    const auto rest = ResultsStream::continuation("results");
    ASSERT_TRUE(rest->feed(tail));
    const std::vector<ResultsStream*> parts{&first, rest.get()};
    const auto joined = ResultsStream::join(parts);
    ASSERT_TRUE(joined);
    const auto whole = streamResults(head + tail);
    ASSERT_TRUE(whole);
    EXPECT_TRUE(sameDocument(*joined, *whole));
    EXPECT_TRUE(fastAgrees(head + tail));
  }
  // Inside an element, a comment or a section other than errors is no boundary.
  for (const std::string& text : {"<results><errors><error id=\"a\">"s, "<results><errors><error id=\"a\"/><x>"s,
                                  "<results><errors><!-- <error/> -->"s, "<results><other><error/>"s,
                                  "<results><errors><error/></errors>"s, "<results><errors><error/> "s}) {
    ResultsStream first;
    ASSERT_TRUE(first.feed(text));
    EXPECT_FALSE(first.atErrorBoundary()) << text;
  }
  // Three parts, the middle one naming the product again.
  {
    ResultsStream first;
    ASSERT_TRUE(first.feed(head));
    const auto middle = ResultsStream::continuation("results");
    const std::string middleText = "<error id=\"m\"/></errors><tarnwick product-name=\"M\"/><errors><error id=\"n\"/>";
    ASSERT_TRUE(middle->feed(middleText));
    EXPECT_TRUE(middle->atErrorBoundary());
    const auto last = ResultsStream::continuation("results");
    ASSERT_TRUE(last->feed("</errors><tarnwick version=\"9\"/></results>"));
    const std::vector<ResultsStream*> parts{&first, middle.get(), last.get()};
    const auto joined = ResultsStream::join(parts);
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->checkingTool, "M 9");
    EXPECT_EQ(joined->results.size(), 3u);
    EXPECT_TRUE(
        sameDocument(*joined, *streamResults(head + middleText + "</errors><tarnwick version=\"9\"/></results>")));
  }
  // A later part that declines, or a middle one that ends elsewhere, leaves the first as
  // it was, to read the rest itself.
  for (const std::string& middleText : {"<error id=\"m\"/>"s, "<error id=\"m\"/><x>"s}) {
    ResultsStream first;
    ASSERT_TRUE(first.feed(head));
    const auto middle = ResultsStream::continuation("results");
    middle->feed(middleText);
    const auto rest = ResultsStream::continuation("results");
    rest->feed(middleText == "<error id=\"m\"/>" ? "<error id=\"b\"/></errors></results><x/>"
                                                 : "</x></errors></results>");
    const std::vector<ResultsStream*> parts{&first, middle.get(), rest.get()};
    EXPECT_FALSE(ResultsStream::join(parts));
    ASSERT_TRUE(first.feed("<error id=\"b\"/></errors></results>"));
    const auto read = first.finish();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->results.size(), 2u);
  }
}

// Through a file: the reader either path takes gives the same document, and the digest
// of what it read.
TEST(ResultsStream, AFileReadsAlikeOnEitherPath) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("guidegate-stream-" + std::to_string(::getpid()) + ".xml");
  for (const std::string& text : {withError("<error id=\"a\" severity=\"style\"><location file=\"f.c\"/></error>"),
                                  withError("<error id=\"a\tb\" severity=\"style\"><location file=\"f.c\"/></error>")}) {
    std::ofstream(path, std::ios::binary) << text;
    const ReadInput<ResultsDocument> read = loadResultsInput(path.string(), Digest::Sha256);
    EXPECT_TRUE(sameDocument(read.content, *reference(text).document));
    ASSERT_TRUE(read.digest);
    EXPECT_EQ(read.digest->sha256, digestInput(path.string(), text).sha256);
    EXPECT_EQ(read.digest->size, text.size());
  }
  std::ofstream(path, std::ios::binary) << "<results/><x/>";
  try {
    loadResultsDocument(path.string());
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "Invalid XML data in file:" + path.string());
  }
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace guidegate
