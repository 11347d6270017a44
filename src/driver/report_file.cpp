#include "driver/report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace guidegate {
namespace {

bool writeAll(int fd, std::initializer_list<std::string_view> pieces) {
  for (auto piece : pieces) {
    const char* data = piece.data();
    std::size_t left = piece.size();
    while (left > 0) {
      const ssize_t written = ::write(fd, data, left);
      if (written < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      data += written;
      left -= static_cast<std::size_t>(written);
    }
  }
  return true;
}

// The file a path finally names, its symbolic links followed, also a last one that
// leads to a file not made yet (the report then creates that file); the path itself
// when it is not a link; empty for a loop of links.
std::string resolvedTarget(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat link {};
    if (::lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return current;
    char resolved[PATH_MAX];
    if (::realpath(current.c_str(), resolved)) return resolved;
    char text[PATH_MAX];
    const ssize_t length = ::readlink(current.c_str(), text, sizeof text);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof text) return current;
    std::string target(text, static_cast<std::size_t>(length));
    const auto slash = current.rfind('/');
    if (target.front() != '/' && slash != std::string::npos) target.insert(0, current, 0, slash + 1);
    current = target;
  }
  return {};
}

mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

void writeReportFile(const std::string& path, std::initializer_list<std::string_view> pieces) {
  const std::runtime_error failure("Failed to write file:" + path);
  if (path.empty()) throw failure;

  const std::string target = resolvedTarget(path);
  if (target.empty()) throw failure;
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;

  // The process's own standard output or error (/dev/stdout, also when the shell sent it
  // to a regular file) is written through its descriptor: the report goes where the
  // stream goes, after what it already holds, and the file is not replaced.
  for (const int stream : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat opened {};
    if (exists && ::fstat(stream, &opened) == 0 && opened.st_dev == existing.st_dev &&
        opened.st_ino == existing.st_ino) {
      if (!writeAll(stream, pieces)) throw failure;
      return;
    }
  }

  if (exists && !S_ISREG(existing.st_mode)) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) throw failure;
    const bool written = writeAll(fd, pieces);
    if (::close(fd) != 0 || !written) throw failure;
    return;
  }

  const auto slash = target.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temporary = directory + "." + name + ".XXXXXX";
  std::vector<char> pattern(temporary.begin(), temporary.end());
  pattern.push_back('\0');
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) throw failure;
  temporary = pattern.data();

  bool ok = ::fchmod(fd, exists ? (existing.st_mode & 07777) : newFileMode()) == 0;
  ok = ok && writeAll(fd, pieces);
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    throw failure;
  }
}

}  // namespace guidegate
