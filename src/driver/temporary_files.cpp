#include "driver/temporary_files.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstring>

namespace guidegate {
namespace {

// The one piece of process-wide mutable state: a signal handler reaches nothing else.
// Each slot's name is complete before `held` is set, and both change only while the
// signals are blocked.
struct Slot {
  char name[PATH_MAX + 1];
  volatile sig_atomic_t held;
};
std::array<Slot, TemporaryFiles::capacity> slots{};
std::size_t used = 0;

constexpr std::array<int, 6> cleanedSignals = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE, SIGXFSZ};
std::array<struct sigaction, cleanedSignals.size()> earlierActions{};

// Only async-signal-safe calls: unlink, signal, raise. The signal stays blocked while
// the handler runs; once it returns, the raised one ends the process with its default
// action, the exit status of an uncaught signal.
extern "C" void removeAndRaise(int signal) {
  for (auto& slot : slots)
    if (slot.held) ::unlink(slot.name);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

sigset_t cleanedSet() {
  sigset_t set;
  ::sigemptyset(&set);
  for (const int signal : cleanedSignals) ::sigaddset(&set, signal);
  return set;
}

// Blocks the cleaned signals for its lifetime.
class Blocked {
 public:
  Blocked() {
    const sigset_t set = cleanedSet();
    ::sigprocmask(SIG_BLOCK, &set, &earlier_);
  }
  ~Blocked() { ::sigprocmask(SIG_SETMASK, &earlier_, nullptr); }
  Blocked(const Blocked&) = delete;
  Blocked& operator=(const Blocked&) = delete;

 private:
  sigset_t earlier_{};
};

}  // namespace

TemporaryFiles::TemporaryFiles() {
  struct sigaction action {};
  action.sa_handler = removeAndRaise;
  action.sa_mask = cleanedSet();
  for (std::size_t i = 0; i < cleanedSignals.size(); ++i) {
    ::sigaction(cleanedSignals[i], nullptr, &earlierActions[i]);
    if (earlierActions[i].sa_handler != SIG_IGN) ::sigaction(cleanedSignals[i], &action, nullptr);
  }
}

TemporaryFiles::~TemporaryFiles() {
  removeAll();
  for (std::size_t i = 0; i < cleanedSignals.size(); ++i) ::sigaction(cleanedSignals[i], &earlierActions[i], nullptr);
  used = 0;
}

int TemporaryFiles::create(std::string& pattern) {
  if (used == capacity || pattern.size() > PATH_MAX) return -1;
  Blocked blocked;
  Slot& slot = slots[used];
  std::memcpy(slot.name, pattern.c_str(), pattern.size() + 1);
  const int fd = ::mkostemp(slot.name, O_CLOEXEC);
  if (fd < 0) return -1;
  slot.held = 1;
  ++used;
  pattern = slot.name;
  return fd;
}

bool TemporaryFiles::rename(std::size_t index, const std::string& target) {
  if (index >= used || !slots[index].held) return false;
  Blocked blocked;
  if (::rename(slots[index].name, target.c_str()) != 0) return false;
  slots[index].held = 0;
  return true;
}

void TemporaryFiles::removeAll() {
  Blocked blocked;
  for (std::size_t i = 0; i < used; ++i) {
    if (slots[i].held) ::unlink(slots[i].name);
    slots[i].held = 0;
  }
}

}  // namespace guidegate
