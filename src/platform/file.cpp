// What a file handle does the same on every system: ownership moves with
// it, and it closes itself. Close() itself is each system's own.
#include "platform/platform.h"

namespace sympack::platform {

File::~File() { Close(); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kInvalid; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = kInvalid;
  }
  return *this;
}

}  // namespace sympack::platform
