// The temporary files of one writing of the outputs, removed again when the writing
// fails or the process is interrupted.
#pragma once

#include <cstddef>
#include <string>

namespace guidegate {

// While one exists, a hangup, interrupt, quit, termination, broken pipe or exceeded
// file size removes every temporary file it still holds, then ends the process as that
// signal would have (a signal the process ignores stays ignored). On destruction it
// removes the files it still holds and restores the earlier signal actions. At most
// one exists at a time.
class TemporaryFiles {
 public:
  static constexpr std::size_t capacity = 16;

  TemporaryFiles();
  ~TemporaryFiles();
  TemporaryFiles(const TemporaryFiles&) = delete;
  TemporaryFiles& operator=(const TemporaryFiles&) = delete;

  // Creates a new file from `pattern` (ending in "XXXXXX", which mkstemp replaces) and
  // holds it; `pattern` becomes its name. Returns its open descriptor, or -1 (nothing
  // created, also when `capacity` files are held).
  int create(std::string& pattern);

  // Renames held file `index` (in the order of creation) to `target` and lets it go.
  bool rename(std::size_t index, const std::string& target);

  // Removes every file still held.
  void removeAll();
};

}  // namespace guidegate
