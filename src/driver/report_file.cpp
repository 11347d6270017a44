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

// The file a path finally names, with its symbolic links resolved where they lead to
// an existing file; the path itself otherwise.
std::string resolvedTarget(const std::string& path) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved)) return resolved;
  return path;
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
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;

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
