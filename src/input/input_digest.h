// What the exports record of each input file: its path, its size and its SHA-256.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace guidegate {

// One input file as a reader read it.
struct InputDigest {
  std::string path;        // as the command line names it
  std::uint64_t size = 0;  // the number of bytes read
  std::string sha256;      // of those bytes: 64 lowercase hexadecimal digits
};

// The path, size and SHA-256 of the file at `path`, from `content`, the bytes a reader
// has just read from it. Digesting what was read, rather than reading the file again,
// keeps the record true for pipes and for files that change meanwhile.
InputDigest digestInput(const std::string& path, std::string_view content);

// The same digest taken piece by piece, for a reader that reads its file in chunks.
class DigestStream {
 public:
  DigestStream();
  ~DigestStream();
  DigestStream(const DigestStream&) = delete;
  DigestStream& operator=(const DigestStream&) = delete;
  void add(std::string_view bytes);
  InputDigest finish(const std::string& path);

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::uint64_t size_ = 0;
};

// Whether a reader also digests what it reads: only the exports record digests, and
// hashing a large results file costs time.
enum class Digest { Skip, Sha256 };

// What a reader read, with the digest of its bytes when one was asked for.
template <typename Content>
struct ReadInput {
  Content content;
  std::optional<InputDigest> digest;
};

}  // namespace guidegate
