// The one kind of error every input reader raises.
#pragma once

#include <stdexcept>
#include <string>

namespace guidegate {

// An input that cannot be read or understood. The message is the whole user-facing
// text ("Failed to open file:" and the path, ...); the run prints it and exits 1.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace guidegate
