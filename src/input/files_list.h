// The md5sum-style list of the project's files.
#pragma once

#include <string>
#include <vector>

#include "input/input_digest.h"

namespace guidegate {

// One usable line of an md5sum-style files list.
struct FileEntry {
  std::string fileName;  // everything after the first run of blanks
  std::string md5sum;    // everything before the first blank
};

// Reads the files list at `path`. Lines without a blank, or whose blanks reach the
// end of the line, are skipped. Throws InputError("Failed to open file:" + path) when
// the file cannot be opened or read, is a directory or a device.
std::vector<FileEntry> readFilesList(const std::string& path);

// As readFilesList; with Digest::Sha256 also the digest of the bytes it read.
ReadInput<std::vector<FileEntry>> readFilesListInput(const std::string& path, Digest digest);

}  // namespace guidegate
