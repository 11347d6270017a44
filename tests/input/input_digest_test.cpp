// The digests the exports record of every input: SHA-256 as FIPS 180-2 defines it, of
// exactly the bytes each reader read.
#include "input/input_digest.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "input/checkers_report.h"
#include "input/files_list.h"
#include "input/results_reader.h"
#include "input/text_file.h"

namespace guidegate {
namespace {

namespace fs = std::filesystem;

TEST(DigestInputTest, StandardTestVectors) {
  EXPECT_EQ(digestInput("a", "").sha256, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(digestInput("a", "abc").sha256, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(digestInput("a", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq").sha256,
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(digestInput("a", std::string(1000000, 'a')).sha256,
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(DigestInputTest, PathAsGivenAndSizeInBytes) {
  const std::string withNul("a\0b\r\n", 5);
  const InputDigest digest = digestInput("../in put/ré sults.xml", withNul);
  EXPECT_EQ(digest.path, "../in put/ré sults.xml");
  EXPECT_EQ(digest.size, 5u);
  EXPECT_NE(digest.sha256, digestInput("x", "a").sha256);  // the bytes after the NUL count
  EXPECT_EQ(digestInput("x", std::string(1000000, 'a')).size, 1000000u);
}

// Lines as std::getline splits a stream, without a trailing carriage return.
std::vector<std::string> lines(std::string_view content) {
  std::vector<std::string> found;
  forEachLine(content, [&](std::string_view line) { found.emplace_back(line); });
  return found;
}

TEST(TextFileTest, LinesSplitAsGetlineDoes) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(lines(""), Lines{});
  EXPECT_EQ(lines("\n"), Lines{""});
  EXPECT_EQ(lines("a"), Lines{"a"});
  EXPECT_EQ(lines("a\n"), Lines{"a"});
  EXPECT_EQ(lines("a\n\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(lines("a\r\nb\r\r\n\r"), (Lines{"a", "b\r", ""}));
  EXPECT_EQ(lines(std::string_view("x\0y\nz", 5)), (Lines{std::string("x\0y", 3), "z"}));
}

class ReaderDigestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("guidegate-digest-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::string& content) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  fs::path dir_;
};

TEST_F(ReaderDigestTest, EachReaderDigestsTheBytesItReadOnlyWhenAsked) {
  const std::string xml = "<?xml version=\"1.0\"?>\r\n<results version=\"3\"><errors>"
                          "<error id=\"nullPointer\" severity=\"error\"/></errors><safety/></results>";
  const std::string checkers = "Checkers\r\nYes  CheckA::run\nNo   CheckB::run  x\nYes  CheckC::run";
  const std::string files = "5d41402abc4b2a76b9719d911017c592  src/a.c\r\n\nbroken\n0cc175b9c0f1b6a831c399e269772661\tb.c";
  const std::string xmlPath = write("results.xml", xml);
  const std::string checkersPath = write("checkers.txt", checkers);
  const std::string filesPath = write("files.md5", files);

  const auto results = loadResultsInput(xmlPath, Digest::Sha256);
  ASSERT_TRUE(results.digest.has_value());
  EXPECT_EQ(results.digest->path, xmlPath);
  EXPECT_EQ(results.digest->size, xml.size());
  EXPECT_EQ(results.digest->sha256, digestInput(xmlPath, xml).sha256);
  ASSERT_EQ(results.content.results.size(), 1u);
  EXPECT_EQ(results.content.results[0].id, "nullPointer");
  EXPECT_TRUE(results.content.safety);
  EXPECT_FALSE(loadResultsInput(xmlPath, Digest::Skip).digest.has_value());

  const auto checkersRun = readCheckersReportInput(checkersPath, Digest::Sha256);
  ASSERT_TRUE(checkersRun.digest.has_value());
  EXPECT_EQ(checkersRun.digest->size, checkers.size());
  EXPECT_EQ(checkersRun.digest->sha256, digestInput(checkersPath, checkers).sha256);
  EXPECT_EQ(checkersRun.content, (CheckersRun{{"CheckA::run", true}, {"CheckB::run", false}, {"CheckC::run", true}}));
  EXPECT_EQ(checkersRun.content, readCheckersReport(checkersPath));
  EXPECT_FALSE(readCheckersReportInput(checkersPath, Digest::Skip).digest.has_value());

  const auto filesList = readFilesListInput(filesPath, Digest::Sha256);
  ASSERT_TRUE(filesList.digest.has_value());
  EXPECT_EQ(filesList.digest->path, filesPath);
  EXPECT_EQ(filesList.digest->size, files.size());
  EXPECT_EQ(filesList.digest->sha256, digestInput(filesPath, files).sha256);
  ASSERT_EQ(filesList.content.size(), 2u);
  EXPECT_EQ(filesList.content[0].fileName, "src/a.c");
  EXPECT_EQ(filesList.content[1].fileName, "b.c");
  EXPECT_EQ(filesList.content[1].md5sum, "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_FALSE(readFilesListInput(filesPath, Digest::Skip).digest.has_value());
}

// A FIFO can be read once only: the digest must come from that one reading.
TEST_F(ReaderDigestTest, ResultsFromAFifoAreDigestedAsRead) {
  const std::string xml = "<results version=\"3\"><errors>" + std::string(100000, ' ') +
                          "<error id=\"piped\" severity=\"error\"/></errors></results>\n";
  const std::string fifo = (dir_ / "fifo.xml").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << xml; });
  const auto results = loadResultsInput(fifo, Digest::Sha256);
  writer.join();
  ASSERT_TRUE(results.digest.has_value());
  EXPECT_EQ(results.digest->size, xml.size());
  EXPECT_EQ(results.digest->sha256, digestInput(fifo, xml).sha256);
  ASSERT_EQ(results.content.results.size(), 1u);
}

}  // namespace
}  // namespace guidegate
