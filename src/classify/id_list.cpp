#include "classify/id_list.h"

namespace guidegate {

std::vector<std::string> splitIdList(std::string_view text) {
  std::vector<std::string> pieces;
  while (!text.empty()) {
    const auto separator = text.find_first_of(", ");
    if (separator == 0) {
      text.remove_prefix(1);
    } else if (separator == std::string_view::npos) {
      pieces.emplace_back(text);
      break;
    } else {
      pieces.emplace_back(text.substr(0, separator));
      text.remove_prefix(separator + 1);
    }
  }
  return pieces;
}

}  // namespace guidegate
