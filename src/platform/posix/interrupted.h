// System calls that a signal interrupted (EINTR) are made again: a handler
// of the tool's own (a terminal continued, a child's end) must never turn
// into a failed read, write, wait or sleep.
#pragma once

#include <cerrno>

namespace sympack::platform::posix {

// Makes `call` (which returns -1 and sets errno on failure) until it does not
// fail with EINTR, and gives its last result. Async-signal-safe when `call`
// is, so signal handlers may use it.
template <typename Call>
auto RetryWhileInterrupted(Call call) {
  for (;;) {
    const auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

}  // namespace sympack::platform::posix
