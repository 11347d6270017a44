// Splitting the comma- and blank-separated id lists of catalogue rows and options.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace guidegate {

// The non-empty pieces of `text` separated by "," or " " (not tabs), in order.
std::vector<std::string> splitIdList(std::string_view text);

}  // namespace guidegate
