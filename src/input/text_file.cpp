#include "input/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "input/input_error.h"

namespace guidegate {

std::optional<std::string> readInputFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw InputError("Failed to open file:" + path);
  if (S_ISDIR(info.st_mode)) return std::nullopt;
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) throw InputError("Failed to open file:" + path);
  // Read straight into the text, sized by the file's length when it has one. A text
  // that cannot grow throws std::bad_alloc, which ends the run; it is never cut short.
  std::string bytes(S_ISREG(info.st_mode) && info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 1 << 16,
                    '\0');
  std::size_t used = 0;
  while (true) {
    if (used == bytes.size()) bytes.resize(2 * bytes.size());
    const ssize_t count = ::read(fd, bytes.data() + used, bytes.size() - used);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      throw InputError("Failed to open file:" + path);
    }
    used += static_cast<std::size_t>(count);
  }
  bytes.resize(used);
  return bytes;
}

}  // namespace guidegate
