#include "driver/report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "driver/temporary_files.h"

namespace guidegate {
namespace {

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The directory part of `path` with its final slash ("" for a bare name), and the name.
std::string_view directoryOf(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

// The file `path` finally names, its symbolic links followed (also a last one that
// leads to a file not made yet: the writing then creates it); the path itself when it
// is not a link. Nothing for a loop of links, or a link in a sticky, world-writable
// directory whose owner is neither the user nor the directory's owner (as the kernel's
// protected-symlinks rule refuses it). Links in the directories on the way are left to
// the kernel.
std::optional<std::string> followedLinks(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat link {};
    if (::lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return current;
    const std::string directory(directoryOf(current));
    struct stat folder {};
    if (::stat(directory.empty() ? "." : directory.c_str(), &folder) != 0) return std::nullopt;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    if (shared && link.st_uid != ::geteuid() && link.st_uid != folder.st_uid) return std::nullopt;
    char text[PATH_MAX];
    const ssize_t length = ::readlink(current.c_str(), text, sizeof text);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof text) return std::nullopt;
    std::string target(text, static_cast<std::size_t>(length));
    current = target.front() == '/' ? target : directory + target;
  }
  return std::nullopt;
}

mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// A temporary name beside `target`: ".NAME.XXXXXX", or ".guidegate.XXXXXX" when that
// would be longer than a file name may be.
std::string temporaryPattern(std::string_view target) {
  const std::string_view directory = directoryOf(target);
  const std::string_view name = target.substr(directory.size());
  std::string pattern(directory);
  if (name.size() + 8 > NAME_MAX)
    pattern += ".guidegate";
  else
    (pattern += '.') += name;
  return pattern + ".XXXXXX";
}

// Whether the user may replace the file `existing` in the directory of `target`: write
// and search the directory and, in a sticky one, own the file or the directory.
bool mayReplace(std::string_view target, const struct stat& existing) {
  const std::string directory(directoryOf(target));
  const char* folder = directory.empty() ? "." : directory.c_str();
  if (::faccessat(AT_FDCWD, folder, W_OK | X_OK, AT_EACCESS) != 0) return false;
  struct stat info {};
  if (::stat(folder, &info) != 0) return false;
  const uid_t user = ::geteuid();
  return (info.st_mode & S_ISVTX) == 0 || user == 0 || existing.st_uid == user || info.st_uid == user;
}

// How one document reaches its file.
enum class Way {
  Replace,  // a temporary file beside it, renamed over it
  InPlace,  // the file itself, opened now and written once every temporary file is complete
};

struct Plan {
  const OutputDocument* document = nullptr;
  std::string target;
  Way way = Way::Replace;
  bool regular = false;             // an existing regular file (kept: mode, owner, group)
  struct stat existing {};
  int fd = -1;                      // InPlace: the open file
  std::size_t temporary = 0;        // Replace: its index among the temporary files
};

class Failure : public std::runtime_error {
 public:
  explicit Failure(const OutputDocument& document) : std::runtime_error("Failed to write file:" + document.path) {}
};

// Decides how `document` is written, opening what is written in place.
Plan plan(const OutputDocument& document) {
  Plan plan;
  plan.document = &document;
  if (document.path.empty()) throw Failure(document);
  const auto target = followedLinks(document.path);
  if (!target) throw Failure(document);
  plan.target = *target;
  if (::stat(plan.target.c_str(), &plan.existing) != 0) {
    if (errno != ENOENT) throw Failure(document);
    return plan;  // a new file
  }

  // The process's own standard output or error (/dev/stdout, also when the shell sent
  // it to a regular file) is written through its descriptor: the report goes where the
  // stream goes, after what it already holds, and the file is not replaced.
  for (const int stream : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat opened {};
    if (::fstat(stream, &opened) == 0 && opened.st_dev == plan.existing.st_dev &&
        opened.st_ino == plan.existing.st_ino) {
      plan.way = Way::InPlace;
      plan.fd = ::dup(stream);
      if (plan.fd < 0) throw Failure(document);
      return plan;
    }
  }

  // Opening the file for writing (without truncating it) asks the system whether the
  // user may write it; a device or a pipe is opened here to be written in place.
  plan.regular = S_ISREG(plan.existing.st_mode);
  const int fd = ::open(plan.target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw Failure(document);
  if (plan.regular && mayReplace(plan.target, plan.existing)) {
    ::close(fd);
    return plan;
  }
  plan.way = Way::InPlace;
  plan.fd = fd;
  return plan;
}

// Writes the temporary file of a replacing plan, complete, with the mode, owner and
// group the file will have. False on any failure.
bool stage(Plan& plan, TemporaryFiles& temporaries, std::size_t index) {
  std::string pattern = temporaryPattern(plan.target);
  const int fd = temporaries.create(pattern);
  if (fd < 0) return false;
  plan.temporary = index;
  if (plan.regular) {
    // The owner first: a change of owner clears the set-user-ID and set-group-ID bits.
    struct stat made {};
    if (::fstat(fd, &made) == 0 && (made.st_uid != plan.existing.st_uid || made.st_gid != plan.existing.st_gid) &&
        ::fchown(fd, plan.existing.st_uid, plan.existing.st_gid) != 0) {
      // Keep at least the group if allowed; when that is refused too, the file keeps the
      // defaults, which does not fail the write.
      const bool groupKept = ::fchown(fd, static_cast<uid_t>(-1), plan.existing.st_gid) == 0;
      static_cast<void>(groupKept);
    }
  }
  bool ok = ::fchmod(fd, plan.regular ? (plan.existing.st_mode & 07777) : newFileMode()) == 0;
  ok = ok && writeAll(fd, plan.document->content);
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  return ok;
}

bool writeInPlace(const Plan& plan) {
  bool ok = !plan.regular || ::ftruncate(plan.fd, 0) == 0;
  ok = ok && writeAll(plan.fd, plan.document->content);
  if (plan.regular) ok = ok && ::fsync(plan.fd) == 0;
  return ok;
}

// Closes the descriptors of the in-place plans.
struct Descriptors {
  std::vector<Plan>& plans;
  ~Descriptors() {
    for (auto& plan : plans)
      if (plan.fd >= 0) ::close(plan.fd);
  }
};

}  // namespace

void writeOutputFiles(const std::vector<OutputDocument>& documents) {
  std::vector<Plan> plans;
  plans.reserve(documents.size());
  Descriptors descriptors{plans};
  for (const auto& document : documents) plans.push_back(plan(document));

  TemporaryFiles temporaries;  // removes what is left on any way out
  std::size_t staged = 0;
  for (auto& plan : plans)
    if (plan.way == Way::Replace && !stage(plan, temporaries, staged++)) throw Failure(*plan.document);
  for (auto& plan : plans)
    if (plan.way == Way::InPlace && !writeInPlace(plan)) throw Failure(*plan.document);
  for (auto& plan : plans)
    if (plan.way == Way::Replace && !temporaries.rename(plan.temporary, plan.target)) throw Failure(*plan.document);
}

}  // namespace guidegate
