// Where the report goes: it replaces an older report only once it is whole (every
// output or none), keeps the older file's permissions, owner and group, follows
// symbolic links where the kernel would, writes devices, pipes and the process's own
// standard output in place, refuses a file the user may not write, leaves no temporary
// file when it fails or is interrupted, and never overwrites an input.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/mount.h>

#include <chrono>
#include <map>
#include <thread>
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
  std::string setUp;  // "", "read-only directory", "read-only report", "another user's report",
                      // "sticky directory" or "links"
};

void expectFailedWrite(const WriteFailure& failure) {
  SCOPED_TRACE(failure.name);
  Scratch scratch;
  scratch.write("results.xml", results);
  scratch.write("report.html", olderReport);
  // Neither the directory nor the report is the run's to write (as root, the run is
  // unprivileged and both belong to root).
  if (failure.setUp == "read-only directory" && ::geteuid() != 0) {
    fs::permissions(scratch.work(), fs::perms{0555});
    fs::permissions(scratch.path("report.html"), fs::perms{0444});
  }
  // The directory is open to the run; the report is its own but mode 0444, or another
  // user's (root's, mode 0644).
  if (failure.setUp == "read-only report" || failure.setUp == "another user's report") scratch.openToAll();
  if (failure.setUp == "read-only report") {
    fs::permissions(scratch.path("report.html"), fs::perms{0444});
    if (::geteuid() == 0) {
      ASSERT_EQ(::chown(scratch.path("report.html").c_str(), nobody, nobody), 0);
    }
  }
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
  std::vector<WriteFailure> failures = {
      {"file size limit reached while writing", "report.html", limited, ""},
      {"neither directory nor report writable", "report.html", unprivileged, "read-only directory"},
      {"report of mode 0444", "report.html", unprivileged, "read-only report"},
      {"device without space", "/dev/full", {}, ""},
      {"loop of symbolic links", "loop-a.html", {}, "links"},
      {"symbolic link into a missing directory", "dangling.html", {}, "links"},
  };
  if (::geteuid() == 0) failures.push_back({"report of another user", "report.html", unprivileged, "another user's report"});
  for (const auto& failure : failures) expectFailedWrite(failure);
}

// In a sticky directory another user's report cannot be replaced: it is refused before
// any temporary file is made.
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

// File names of 248 to 255 bytes are valid; the temporary file beside them takes a
// shorter name. Both a new report and a replaced one.
TEST(ReportReplacement, LongestNamesAreWritten) {
  Scratch scratch;
  scratch.write("results.xml", results);
  for (const std::size_t length : {248u, 250u, 255u}) {
    SCOPED_TRACE(length);
    const std::string report = std::string(length - 5, 'r') + ".html";
    const std::string json = std::string(length - 5, 'j') + ".json";
    for (const bool older : {false, true}) {
      if (older) scratch.write(report, olderReport);
      const Outcome outcome = scratch.run(arguments({"--output-file=" + report, "--json-output=" + json, "results.xml"}));
      EXPECT_EQ(outcome.status, 1);
      EXPECT_EQ(outcome.err, "");
      EXPECT_TRUE(isWholeReport(scratch.read(report)));
      EXPECT_TRUE(scratch.read(json).starts_with("{"));
      EXPECT_EQ(listing(scratch.work()), (std::set<std::string>{json, report, "results.xml"}));
    }
    fs::remove(scratch.path(report));
    fs::remove(scratch.path(json));
  }
}

// A report the run may write in a directory it may not write into is written in place:
// the same file (a second name for it shows the new text), truncated first.
TEST(ReportReplacement, WritableReportInAClosedDirectoryIsWrittenInPlace) {
  Scratch scratch;
  scratch.write("results.xml", results);
  scratch.write("report.html", olderReport + std::string(100000, 'x'));  // longer than the new report
  fs::create_hard_link(scratch.path("report.html"), scratch.path("second-name.html"));
  Launch launch{arguments({"--output-file=report.html", "results.xml"})};
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(scratch.path("report.html").c_str(), nobody, nobody), 0);  // the directory stays root's
    launch.unprivileged = true;
  } else {
    fs::permissions(scratch.work(), fs::perms{0555});
  }
  const Outcome outcome = scratch.run(launch);
  if (launch.unprivileged && outcome.status >= 126) GTEST_SKIP() << "cannot run the binary as user " << nobody;
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "");
  EXPECT_TRUE(isWholeReport(scratch.read("report.html")));
  EXPECT_EQ(scratch.read("second-name.html"), scratch.read("report.html"));
  EXPECT_EQ(listing(scratch.work()), (std::set<std::string>{"report.html", "results.xml", "second-name.html"}));
}

// Root replaces another user's report (and its exports) without taking them over.
TEST(ReportReplacement, ReplacedFilesKeepTheirOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to replace another user's file";
  Scratch scratch;
  scratch.write("results.xml", results);
  for (const std::string name : {"report.html", "report.json"}) {
    scratch.write(name, olderReport);
    ASSERT_EQ(::chown(scratch.path(name).c_str(), nobody, nobody), 0);
    fs::permissions(scratch.path(name), fs::perms{0640});
  }
  const Outcome outcome = scratch.run(arguments({"--output-file=report.html", "--json-output=report.json", "results.xml"}));
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "");
  EXPECT_TRUE(isWholeReport(scratch.read("report.html")));
  for (const std::string name : {"report.html", "report.json"}) {
    SCOPED_TRACE(name);
    struct stat info {};
    ASSERT_EQ(::stat(scratch.path(name).c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, nobody);
    EXPECT_EQ(info.st_gid, nobody);
    EXPECT_EQ(modeOf(scratch.path(name)), fs::perms{0640});
    EXPECT_NE(scratch.read(name), olderReport);
  }
}

// In a sticky, world-writable directory a link is followed only when its owner is the
// run's user or the directory's owner (root here); elsewhere every link is followed.
TEST(ReportReplacement, LinksInSharedDirectoriesAreFollowedOnlyAsTheKernelWould) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant another user's link";
  Scratch scratch;
  scratch.write("results.xml", results);
  scratch.openToAll(true);
  scratch.write("target.html", olderReport);
  fs::create_directory(scratch.path("plain"));
  fs::permissions(scratch.path("plain"), fs::perms::all);  // world-writable, not sticky
  const auto link = [&](const std::string& name, const std::string& target, uid_t owner) {
    fs::create_symlink(target, scratch.path(name));
    ASSERT_EQ(::lchown(scratch.path(name).c_str(), owner, owner), 0);
  };
  link("planted.html", "target.html", nobody);
  link("own.html", "own-target.html", 0);
  link("plain/planted.html", "../plain-target.html", nobody);
  link("directory-owners.html", "nobody-target.html", 0);

  Outcome outcome = scratch.run(arguments({"--output-file=planted.html", "results.xml"}));
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "Failed to write file:planted.html\n");
  EXPECT_EQ(scratch.read("target.html"), olderReport);
  EXPECT_TRUE(fs::is_symlink(scratch.path("planted.html")));

  for (const std::string followed : {"own.html", "plain/planted.html"}) {
    SCOPED_TRACE(followed);
    outcome = scratch.run(arguments({"--output-file=" + followed, "results.xml"}));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "");
  }
  EXPECT_TRUE(isWholeReport(scratch.read("own-target.html")));
  EXPECT_TRUE(isWholeReport(scratch.read("plain-target.html")));

  Launch unprivileged{arguments({"--output-file=directory-owners.html", "results.xml"})};
  unprivileged.unprivileged = true;
  outcome = scratch.run(unprivileged);
  if (outcome.status >= 126) GTEST_SKIP() << "cannot run the binary as user " << nobody;
  EXPECT_EQ(outcome.err, "");
  EXPECT_TRUE(isWholeReport(scratch.read("nobody-target.html")));
  EXPECT_EQ(listing(scratch.work()),
            (std::set<std::string>{"directory-owners.html", "nobody-target.html", "own-target.html", "own.html",
                                   "plain", "plain-target.html", "planted.html", "results.xml", "target.html"}));
}

// A run that a signal ends while it writes removes its temporary files and ends as the
// signal ends a process. The report goes to a pipe that takes 4 KiB and is not read,
// so the run waits there with the exports' temporary files complete beside them.
TEST(ReportReplacement, InterruptedWritingLeavesNoTemporaryFile) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    Scratch scratch;
    scratch.write("results.xml", results);
    scratch.write("report.json", olderReport);
    ASSERT_EQ(::mkfifo(scratch.path("report.fifo").c_str(), 0644), 0);
    const int reader = ::open(scratch.path("report.fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_GE(::fcntl(reader, F_SETPIPE_SZ, 4096), 0);
    const pid_t child = scratch.start(Launch{arguments(
        {"--output-file=report.fifo", "--json-output=report.json", "--markdown-summary=summary.md", "results.xml"})});
    std::size_t seen = 0;
    for (int wait = 0; wait < 1000 && seen < 5; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      seen = listing(scratch.work()).size();  // the inputs, the pipe and two temporary files
    }
    EXPECT_EQ(seen, 5u);
    ::kill(child, signal);
    const Outcome outcome = scratch.finish(child);
    ::close(reader);
    EXPECT_EQ(outcome.status, 128 + signal);
    EXPECT_EQ(listing(scratch.work()), (std::set<std::string>{"report.fifo", "report.json", "results.xml"}));
    EXPECT_EQ(scratch.read("report.json"), olderReport);
  }
}

// Runs that write the same outputs at once leave one whole report of one of them.
TEST(ReportReplacement, ConcurrentRunsLeaveOneWholeReport) {
  Scratch scratch;
  scratch.write("results.xml", results);
  scratch.write("report.html", olderReport);
  std::vector<pid_t> children;
  for (int run = 0; run < 8; ++run)
    children.push_back(scratch.start(Launch{{"--project-name=Concurrent-" + std::to_string(run) + "-run",
                                             "--project-version=1.0", "--output-file=report.html",
                                             "--json-output=report.json", "results.xml"}}));
  for (const pid_t child : children) EXPECT_EQ(scratch.finish(child).status, 1);
  const std::string report = scratch.read("report.html");
  EXPECT_TRUE(isWholeReport(report));
  const auto first = report.find("Concurrent-");
  ASSERT_NE(first, std::string::npos);
  const std::string name = report.substr(first, report.find("-run", first) + 4 - first);
  for (auto at = report.find("Concurrent-"); at != std::string::npos; at = report.find("Concurrent-", at + 1))
    EXPECT_EQ(report.compare(at, name.size(), name), 0);
  EXPECT_TRUE(scratch.read("report.json").ends_with("}\n"));
  EXPECT_EQ(listing(scratch.work()), (std::set<std::string>{"report.html", "report.json", "results.xml"}));
}

// A file system without space for the report: the older report stays, nothing is left.
TEST(ReportReplacement, FullFileSystemKeepsTheOlderReport) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a small file system";
  Scratch scratch;
  scratch.write("results.xml", results);
  fs::create_directory(scratch.path("small"));
  if (::mount("guidegate-test", scratch.path("small").c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here";
  struct Unmount {
    std::string path;
    ~Unmount() { ::umount(path.c_str()); }
  } unmount{scratch.path("small").string()};
  scratch.write("small/report.html", olderReport);
  {
    // Fill it, then free two pages: the report (about 20 KB) does not fit.
    std::ofstream filler(scratch.path("small/filler"), std::ios::binary);
    const std::string page(4096, 'f');
    while (filler.write(page.data(), page.size())) filler.flush();
  }
  fs::resize_file(scratch.path("small/filler"), fs::file_size(scratch.path("small/filler")) - 8192);
  const Outcome outcome = scratch.run(arguments({"--output-file=small/report.html", "--json-output=report.json", "results.xml"}));
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "Failed to write file:small/report.html\n");
  EXPECT_EQ(scratch.read("small/report.html"), olderReport);
  EXPECT_EQ(listing(scratch.path("small")), (std::set<std::string>{"filler", "report.html"}));
  EXPECT_EQ(listing(scratch.work()), (std::set<std::string>{"results.xml", "small"}));
}

}  // namespace
}  // namespace hostile
