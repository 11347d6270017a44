#include "input/input_digest.h"

#include <sha2.h>

namespace guidegate {

InputDigest digestInput(const std::string& path, std::string_view content) {
  char hex[SHA256_DIGEST_STRING_LENGTH] = {};
  SHA256Data(reinterpret_cast<const std::uint8_t*>(content.data()), content.size(), hex);
  return {.path = path, .size = content.size(), .sha256 = hex};
}

}  // namespace guidegate
