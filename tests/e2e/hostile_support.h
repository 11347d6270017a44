// Running the built binary against hostile inputs and surroundings: a scratch
// directory per case, a child process with its own umask, file-size limit and
// (when the tests run as root) an unprivileged user, and the files it left behind.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace hostile {

namespace fs = std::filesystem;

inline const std::string binary = GUIDEGATE_BINARY;

// The user an unprivileged run takes when the tests run as root.
constexpr uid_t nobody = 65534;

inline std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

// The names in a directory, hidden ones included.
inline std::set<std::string> listing(const fs::path& directory) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) names.insert(entry.path().filename().string());
  return names;
}

// What a finished run left: its exit status and both streams.
struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// How to start one run of the binary.
struct Launch {
  std::vector<std::string> arguments = {};        // after the program name
  bool unprivileged = false;                      // as `nobody` when the tests run as root
  std::optional<rlim_t> fileSizeLimit = {};       // RLIMIT_FSIZE in bytes, SIGXFSZ ignored
  std::optional<rlim_t> addressSpaceLimit = {};   // RLIMIT_AS in bytes
  mode_t umask = 022;
  std::optional<std::string> stdoutBefore = {};  // standard output appends to a file holding this
};

// A fresh directory for one case: `work` is the run's current directory, the
// streams are kept apart so that they never show in its listing.
class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "guidegate-hostile-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    fs::create_directory(work());
    fs::create_directory(root_ / "streams");
    // An unprivileged run must reach the work directory.
    fs::permissions(root_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(root_ / "streams", fs::perms::owner_all);
  }
  ~Scratch() {
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(root_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored))
      if (it->is_directory(ignored) && !it->is_symlink(ignored)) fs::permissions(it->path(), fs::perms::owner_all,
                                                                                 fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  fs::path work() const { return root_ / "work"; }
  fs::path path(const std::string& name) const { return work() / name; }
  void write(const std::string& name, const std::string& bytes) const { writeFile(path(name), bytes); }
  std::string read(const std::string& name) const { return readFile(path(name)); }

  // Lets an unprivileged run create files in the work directory.
  void openToAll(bool sticky = false) const {
    fs::permissions(work(), fs::perms::all | (sticky ? fs::perms::sticky_bit : fs::perms::none));
  }

  // Starts the binary in the work directory with standard input from /dev/null.
  pid_t start(const Launch& launch) const {
    std::vector<std::string> words{binary};
    words.insert(words.end(), launch.arguments.begin(), launch.arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string outPath = (root_ / "streams" / "out").string();
    const std::string errPath = (root_ / "streams" / "err").string();
    const std::string directory = work().string();
    const bool drop = launch.unprivileged && ::geteuid() == 0;
    const int outFlags = O_WRONLY | O_CREAT | (launch.stdoutBefore ? O_APPEND : O_TRUNC);
    if (launch.stdoutBefore) writeFile(outPath, *launch.stdoutBefore);

    const pid_t child = ::fork();
    if (child != 0) return child;
    // Only async-signal-safe calls from here to exec.
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(outPath.c_str(), outFlags, 0666);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(126);
    if (::chdir(directory.c_str()) != 0) ::_exit(126);
    ::umask(launch.umask);
    if (launch.fileSizeLimit) {
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{*launch.fileSizeLimit, *launch.fileSizeLimit};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
    }
    if (launch.addressSpaceLimit) {
      const rlimit limit{*launch.addressSpaceLimit, *launch.addressSpaceLimit};
      if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(126);
    }
    // The signals a test sends take their default action, whatever the tests inherited.
    for (const int signal : {SIGHUP, SIGINT, SIGTERM}) ::signal(signal, SIG_DFL);
    if (drop && (::setgroups(0, nullptr) != 0 || ::setgid(nobody) != 0 || ::setuid(nobody) != 0)) ::_exit(126);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }

  // Waits for a run started by `start` and collects what it wrote.
  Outcome finish(pid_t child) const {
    Outcome outcome;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = readFile(root_ / "streams" / "out");
    outcome.err = readFile(root_ / "streams" / "err");
    return outcome;
  }

  Outcome run(const Launch& launch) const { return finish(start(launch)); }
  Outcome run(const std::vector<std::string>& arguments) const { return run(Launch{arguments}); }

 private:
  fs::path root_;
};

// The fixed literals of a report that tell a whole document.
inline const std::string documentStart = "<html><head><meta charset=\"utf-8\"><title>";
inline const std::string documentEnd = "</body>\n</html>\n";

inline bool isWholeReport(const std::string& text) {
  return text.starts_with(documentStart) && text.ends_with(documentEnd);
}

// The text a case puts into the report file before the run.
inline const std::string olderReport = "<html>an older report, to be kept on failure</html>\n";

}  // namespace hostile
