// Where the report goes: it replaces an older report only once it is whole, keeps
// the older file's permissions, follows symbolic links, writes devices, pipes and
// the process's own standard output in place, and never overwrites an input.
#include <gtest/gtest.h>
#include <poll.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/hostile_support.h"

namespace hostile {
namespace {

const std::string results =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<results version=\"3\">\n<tarnwick version=\"2.14\"/>\n"
    "<errors>\n<error id=\"nullPointer\" severity=\"error\"><location file=\"src/a.c\" line=\"4\"/></error>\n"
    "</errors>\n<safety/>\n</results>\n";
const std::string checkers = "Yes  CheckOther::checkUnreachableCode\n";
const std::string files = "d41d8cd98f00b204e9800998ecf8427e  src/a.c\n";

const std::vector<std::string> named = {"--project-name=Demo", "--project-version=1.0"};

std::vector<std::string> arguments(std::vector<std::string> extra) {
  std::vector<std::string> all = named;
  all.insert(all.end(), extra.begin(), extra.end());
  return all;
}

fs::perms modeOf(const fs::path& path) { return fs::status(path).permissions() & fs::perms::mask; }

// Every entry below `directory` with what it is: the bytes of a file, the text of a
// symbolic link, or a word for anything else.
std::map<std::string, std::string> snapshot(const fs::path& directory) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(directory)) {
    const std::string name = entry.path().lexically_relative(directory).string();
    if (entry.is_symlink())
      entries[name] = "link to " + fs::read_symlink(entry.path()).string();
    else if (entry.is_regular_file())
      entries[name] = readFile(entry.path());
    else
      entries[name] = entry.is_directory() ? "(directory)" : "(special)";
  }
  return entries;
}

TEST(ReportReplacement, NewReportTakesTheModeTheUmaskAllows) {
  for (const auto& [mask, mode] : {std::pair{mode_t{022}, fs::perms{0644}}, std::pair{mode_t{077}, fs::perms{0600}}}) {
    Scratch scratch;
    scratch.write("results.xml", results);
    Launch launch{arguments({"--output-file=report.html", "results.xml"})};
    launch.umask = mask;
    const Outcome outcome = scratch.run(launch);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "");
    EXPECT_TRUE(isWholeReport(scratch.read("report.html")));
    EXPECT_EQ(modeOf(scratch.path("report.html")), mode);
    EXPECT_EQ(listing(scratch.work()), (std::set<std::string>{"report.html", "results.xml"}));
  }
}

// The older report is replaced, not rewritten: a second name for it still shows the
// older text, and the new file has the older one's permissions.
TEST(ReportReplacement, OlderReportIsReplacedWithItsPermissions) {
  Scratch scratch;
  scratch.write("results.xml", results);
  scratch.write("report.html", olderReport);
  fs::permissions(scratch.path("report.html"), fs::perms{0640});
  fs::create_hard_link(scratch.path("report.html"), scratch.path("second-name.html"));

  Launch launch{arguments({"--output-file=report.html", "results.xml"})};
  launch.umask = 0;
  const Outcome outcome = scratch.run(launch);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "");
  EXPECT_TRUE(isWholeReport(scratch.read("report.html")));
  EXPECT_EQ(modeOf(scratch.path("report.html")), fs::perms{0640});
  EXPECT_EQ(scratch.read("second-name.html"), olderReport);
  EXPECT_EQ(listing(scratch.work()), (std::set<std::string>{"report.html", "results.xml", "second-name.html"}));
}

TEST(ReportReplacement, SymbolicLinksAreFollowedNotReplaced) {
  Scratch scratch;
  scratch.write("results.xml", results);
  fs::create_directory(scratch.path("reports"));
  scratch.write("reports/real.html", olderReport);
  fs::create_symlink("reports/real.html", scratch.path("link.html"));
  fs::create_symlink("link.html", scratch.path("chain.html"));
  fs::create_symlink("reports/later.html", scratch.path("dangling.html"));

  for (const std::string link : {"link.html", "chain.html", "dangling.html"}) {
    SCOPED_TRACE(link);
    const Outcome outcome = scratch.run(arguments({"--output-file=" + link, "results.xml"}));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "");
  }
  const auto after = snapshot(scratch.work());
  EXPECT_EQ(after.at("link.html"), "link to reports/real.html");
  EXPECT_EQ(after.at("chain.html"), "link to link.html");
  EXPECT_EQ(after.at("dangling.html"), "link to reports/later.html");
  EXPECT_TRUE(isWholeReport(after.at("reports/real.html")));
  EXPECT_TRUE(isWholeReport(after.at("reports/later.html")));
  EXPECT_EQ(after.size(), 7u);  // nothing beside the results, the three links and reports/ with its two files
}

// /dev/stdout reaches the process's standard output even when the shell sent it to a
// regular file with >>: the report follows what the file held and the notes.
TEST(ReportReplacement, StandardOutputIsWrittenWhereItGoes) {
  Scratch scratch;
  scratch.write("results.xml", results);
  Launch launch{{"--output-file=/dev/stdout", "results.xml"}};
  launch.stdoutBefore = "earlier output\n";
  const Outcome outcome = scratch.run(launch);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "");
  const std::string notes =
      "Configuration: --project-name has not been provided\nConfiguration: --project-version has not been provided\n";
  ASSERT_TRUE(outcome.out.starts_with("earlier output\n" + notes)) << outcome.out.substr(0, 300);
  EXPECT_TRUE(isWholeReport(outcome.out.substr(15 + notes.size())));
  EXPECT_EQ(listing(scratch.work()), std::set<std::string>{"results.xml"});
}

TEST(ReportReplacement, NamedPipeIsWrittenInPlace) {
  Scratch scratch;
  scratch.write("results.xml", results);
  ASSERT_EQ(::mkfifo(scratch.path("report.fifo").c_str(), 0644), 0);
  const pid_t child = scratch.start(Launch{arguments({"--output-file=report.fifo", "results.xml"})});
  // A reader that does not wait for a writer; the pipe's end is the child's exit.
  const int fd = ::open(scratch.path("report.fifo").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  std::string received;
  char buffer[1 << 16];
  bool exited = false;
  Outcome outcome;
  while (true) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count > 0) {
      received.append(buffer, static_cast<std::size_t>(count));
      continue;
    }
    if (exited) break;
    int status = 0;
    if (::waitpid(child, &status, WNOHANG) == child) {
      exited = true;
      outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      continue;  // one more read for what is still in the pipe
    }
    pollfd wait{fd, POLLIN, 0};
    ::poll(&wait, 1, 10);
  }
  ::close(fd);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_TRUE(isWholeReport(received)) << received.size();
  EXPECT_TRUE(fs::is_fifo(scratch.path("report.fifo")));
  EXPECT_EQ(listing(scratch.work()), (std::set<std::string>{"report.fifo", "results.xml"}));
}

// Failures to write: the message names the path as given, the status is 1, the older
// report keeps its bytes and no temporary file is left.
struct WriteFailure {
  std::string name;
  std::string output;
  Launch launch;
  std::string setUp;  // "", "read-only directory", "sticky directory" or "links"
};

void expectFailedWrite(const WriteFailure& failure) {
  SCOPED_TRACE(failure.name);
  Scratch scratch;
  scratch.write("results.xml", results);
  scratch.write("report.html", olderReport);
  if (failure.setUp == "read-only directory" && ::geteuid() != 0)
    fs::permissions(scratch.work(), fs::perms{0555});
  if (failure.setUp == "sticky directory") scratch.openToAll(true);
  if (failure.setUp == "links") {
    fs::create_symlink("loop-b.html", scratch.path("loop-a.html"));
    fs::create_symlink("loop-a.html", scratch.path("loop-b.html"));
    fs::create_symlink("missing/report.html", scratch.path("dangling.html"));
  }
  const auto before = snapshot(scratch.work());

  Launch launch = failure.launch;
  launch.arguments = arguments({"--output-file=" + failure.output, "results.xml"});
  const Outcome outcome = scratch.run(launch);
  if (launch.unprivileged && ::geteuid() == 0 && outcome.status >= 126)
    GTEST_SKIP() << "cannot run the binary as user " << nobody;
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "Failed to write file:" + failure.output + "\n");
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(snapshot(scratch.work()), before);
}

TEST(ReportReplacement, FailedWritesKeepTheOlderReport) {
  Launch limited;
  limited.fileSizeLimit = 4096;  // the report is larger: its writing fails half-way
  Launch unprivileged;
  unprivileged.unprivileged = true;
  const std::vector<WriteFailure> failures = {
      {"file size limit reached while writing", "report.html", limited, ""},
      {"directory not writable", "report.html", unprivileged, "read-only directory"},
      {"device without space", "/dev/full", {}, ""},
      {"loop of symbolic links", "loop-a.html", {}, "links"},
      {"symbolic link into a missing directory", "dangling.html", {}, "links"},
  };
  for (const auto& failure : failures) expectFailedWrite(failure);
}

// In a sticky directory another user's report cannot be replaced: the temporary file
// is written and then must be removed again.
TEST(ReportReplacement, RefusedReplacementRemovesTheTemporaryFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to own a report that the run's user cannot replace";
  Launch unprivileged;
  unprivileged.unprivileged = true;
  expectFailedWrite({"rename refused", "report.html", unprivileged, "sticky directory"});
}

// The output names an input however the paths are spelled: nothing is read or
// written, every file keeps its bytes.
TEST(InputOutputClash, OutputNamingAnInputTouchesNothing) {
  struct Clash {
    std::vector<std::string> arguments;
    std::string output;
  };
  const std::vector<Clash> clashes = {
      {{"results.xml"}, "results.xml"},
      {{"results.xml"}, "./results.xml"},
      {{"results.xml"}, "sub/../results.xml"},
      {{"results.xml"}, "link.xml"},
      {{"results.xml"}, "hard.xml"},
      {{"link.xml"}, "results.xml"},
      {{"--checkers-report=missing.txt", "results.xml"}, "results.xml"},
      {{"--checkers-report=./checkers.txt", "results.xml"}, "checkers.txt"},
      {{"--files=files.md5", "results.xml"}, "sub/../files.md5"},
  };
  for (const auto& clash : clashes) {
    SCOPED_TRACE(clash.output);
    Scratch scratch;
    scratch.write("results.xml", results);
    scratch.write("checkers.txt", checkers);
    scratch.write("files.md5", files);
    fs::create_directory(scratch.path("sub"));
    fs::create_symlink("results.xml", scratch.path("link.xml"));
    fs::create_hard_link(scratch.path("results.xml"), scratch.path("hard.xml"));
    const auto before = snapshot(scratch.work());

    std::vector<std::string> all = {"--output-file=" + clash.output};
    all.insert(all.end(), clash.arguments.begin(), clash.arguments.end());
    const Outcome outcome = scratch.run(arguments(all));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "Output file is an input file:" + clash.output + "\n");
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(snapshot(scratch.work()), before);
  }
}

// Two outputs name the same file however the paths are spelled: through links (also
// one whose target does not exist yet), hard links, "." and "..", an absolute path.
// Nothing is read or written, every file keeps its bytes.
TEST(OutputsNamedTwice, NothingIsReadOrWritten) {
  struct Clash {
    std::vector<std::string> outputs;
    std::string named;  // the path the message names: the later of the two
  };
  const std::vector<Clash> clashes = {
      {{"--output-file=older.html", "--json-output=older-link.html"}, "older-link.html"},
      {{"--output-file=new-link.html", "--markdown-summary=new.html"}, "new.html"},
      {{"--json-output=new.json", "--markdown-summary=sub/new-link.json"}, "sub/new-link.json"},
      {{"--output-file=older.html", "--markdown-summary=hard.html"}, "hard.html"},
      {{"--output-file=sub/../new.html", "--json-output=ABSOLUTE/new.html"}, "ABSOLUTE/new.html"},
      {{"--output-file=linked-dir/new.html", "--json-output=sub/new.html"}, "sub/new.html"},
  };
  for (const auto& clash : clashes) {
    SCOPED_TRACE(clash.named);
    Scratch scratch;
    scratch.write("results.xml", results);
    scratch.write("older.html", "<html>an older report</html>\n");
    fs::create_directory(scratch.path("sub"));
    fs::create_symlink("older.html", scratch.path("older-link.html"));
    fs::create_symlink("new.html", scratch.path("new-link.html"));  // its target does not exist
    fs::create_symlink("../new.json", scratch.path("sub/new-link.json"));
    fs::create_symlink("sub", scratch.path("linked-dir"));
    fs::create_hard_link(scratch.path("older.html"), scratch.path("hard.html"));
    const auto before = snapshot(scratch.work());

    const std::string absolute = scratch.work().string();
    auto spelled = [&](std::string text) {
      if (const auto at = text.find("ABSOLUTE"); at != std::string::npos) text.replace(at, 8, absolute);
      return text;
    };
    std::vector<std::string> all;
    for (const auto& output : clash.outputs) all.push_back(spelled(output));
    all.push_back("results.xml");
    const Outcome outcome = scratch.run(arguments(all));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "Output file named twice:" + spelled(clash.named) + "\n");
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(snapshot(scratch.work()), before);
  }
}

// Files that are only alike are not named twice: a copy, a name that differs in case.
TEST(OutputsNamedTwice, DistinctFilesAreWrittenAsUsual) {
  Scratch scratch;
  scratch.write("results.xml", results);
  scratch.write("a.html", "same");
  scratch.write("b.html", "same");
  const Outcome outcome =
      scratch.run(arguments({"--output-file=a.html", "--json-output=b.html", "--markdown-summary=A.html", "results.xml"}));
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "");
  EXPECT_TRUE(isWholeReport(scratch.read("a.html")));
  EXPECT_TRUE(scratch.read("b.html").starts_with("{"));
  EXPECT_TRUE(scratch.read("A.html").starts_with("# "));
}

TEST(InputOutputClash, AbsolutePathOfTheResultsFile) {
  Scratch scratch;
  scratch.write("results.xml", results);
  const std::string output = scratch.path("results.xml").string();
  const Outcome outcome = scratch.run(arguments({"--output-file=" + output, "results.xml"}));
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "Output file is an input file:" + output + "\n");
  EXPECT_EQ(scratch.read("results.xml"), results);
}

// A copy with the same bytes is another file and is replaced as usual.
TEST(InputOutputClash, CopyOfAnInputIsReplaced) {
  Scratch scratch;
  scratch.write("results.xml", results);
  scratch.write("copy.xml", results);
  const Outcome outcome = scratch.run(arguments({"--output-file=copy.xml", "results.xml"}));
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "");
  EXPECT_TRUE(isWholeReport(scratch.read("copy.xml")));
  EXPECT_EQ(scratch.read("results.xml"), results);
}

}  // namespace
}  // namespace hostile
