// Writing the report file so that it is either complete or not replaced at all.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace guidegate {

// Writes the concatenated `pieces` to `path`. A regular file (or a new one) is
// written to a temporary file beside it and renamed over it once complete, keeping an
// existing file's permissions and following a symbolic link; any other existing
// target (a device, a pipe) is written directly. Throws std::runtime_error
// ("Failed to write file:" + path) on any failure, leaving an older file untouched.
void writeReportFile(const std::string& path, std::initializer_list<std::string_view> pieces);

}  // namespace guidegate
