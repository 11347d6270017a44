#include "input/input_digest.h"

#include <sha2.h>

namespace guidegate {

InputDigest digestInput(const std::string& path, std::string_view content) {
  char hex[SHA256_DIGEST_STRING_LENGTH] = {};
  SHA256Data(reinterpret_cast<const std::uint8_t*>(content.data()), content.size(), hex);
  return {.path = path, .size = content.size(), .sha256 = hex};
}

struct DigestStream::State {
  SHA2_CTX context;
};

DigestStream::DigestStream() : state_(std::make_unique<State>()) { SHA256Init(&state_->context); }
DigestStream::~DigestStream() = default;

void DigestStream::add(std::string_view bytes) {
  SHA256Update(&state_->context, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  size_ += bytes.size();
}

InputDigest DigestStream::finish(const std::string& path) {
  char hex[SHA256_DIGEST_STRING_LENGTH] = {};
  SHA256End(&state_->context, hex);
  return {.path = path, .size = size_, .sha256 = hex};
}

}  // namespace guidegate
