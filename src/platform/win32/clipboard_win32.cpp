// Placing Unicode text on the Windows clipboard. The clipboard is not emptied
// first: the text replaces only text of the same format, and whatever other
// formats another program left there stay.
#include <windows.h>

#include <cstring>

#include "platform/win32/win32_system.h"

namespace sympack::platform::win32 {
namespace {

// Clipboard viewers and managers hold the clipboard open for a moment after
// every change; a few short waits let the tool's text through instead of
// giving up at the first refusal. At most 200 ms in all.
constexpr int kOpenAttempts = 20;
constexpr DWORD kOpenRetryMilliseconds = 10;

bool OpenClipboardPatiently() {
  for (int attempt = 1;; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    if (attempt == kOpenAttempts) return false;
    Sleep(kOpenRetryMilliseconds);
  }
}

// The clipboard, held open (with no owner window) for as long as this lives.
class OpenedClipboard {
 public:
  OpenedClipboard() : open_(OpenClipboardPatiently()) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

// A movable global memory block, freed unless handed over to the system.
class GlobalBlock {
 public:
  explicit GlobalBlock(std::size_t bytes) : block_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  ~GlobalBlock() {
    if (block_ != nullptr) GlobalFree(block_);
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;

  HGLOBAL Get() const { return block_; }
  // After SetClipboardData succeeds the block belongs to the clipboard.
  void HandOver() { block_ = nullptr; }

 private:
  HGLOBAL block_;
};

// Copies the text and its terminating zero into the block.
bool Fill(const GlobalBlock& block, std::u16string_view text) {
  void* memory = GlobalLock(block.Get());
  if (memory == nullptr) return false;
  auto* units = static_cast<char16_t*>(memory);
  std::memcpy(units, text.data(), text.size() * sizeof(char16_t));
  units[text.size()] = u'\0';
  GlobalUnlock(block.Get());
  return true;
}

}  // namespace

bool Win32System::PlaceClipboardText(std::u16string_view text) {
  const OpenedClipboard clipboard;
  if (!clipboard.IsOpen()) return false;
  GlobalBlock block((text.size() + 1) * sizeof(char16_t));
  if (block.Get() == nullptr || !Fill(block, text)) return false;
  if (SetClipboardData(CF_UNICODETEXT, block.Get()) == nullptr) return false;
  block.HandOver();
  return true;
}

}  // namespace sympack::platform::win32
