// Writing the outputs of a run so that either every one of them is complete or none
// is replaced.
#pragma once

#include <string>
#include <vector>

namespace guidegate {

// One output of a run: where it goes and what it holds.
struct OutputDocument {
  std::string path;
  std::string content;
};

// Writes every document, all or none. Each regular (or new) file is first written to a
// temporary file beside it; only when all are complete are they renamed over their
// targets, keeping an existing file's permissions, owner and group. A symbolic link is
// followed where the kernel's protected-symlinks rule would follow it: outside sticky,
// world-writable directories, or when its owner is the user or the directory's owner.
// A device, a pipe or the process's own standard output or error is written in place,
// as is a file the user may write in a directory the user may not write into (not
// atomic). A file the user may not write is not replaced. Throws std::runtime_error
// ("Failed to write file:" + path) for the first document that fails; no temporary
// file is left, none of the regular files is replaced.
void writeOutputFiles(const std::vector<OutputDocument>& documents);

}  // namespace guidegate
