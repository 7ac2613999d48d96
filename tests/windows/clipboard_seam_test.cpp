// The host System's clipboard on Windows, read back through the clipboard itself and
// by another program.
#include <windows.h>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace sympack::platform {
namespace {

using wintest::Host;

constexpr wchar_t kPrivateFormatName[] = L"SympackSeamMarker";

std::optional<std::u16string> ClipboardText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::u16string> text;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const char16_t*>(GlobalLock(data))) {
      text = std::u16string(units);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

SIZE_T ClipboardBlockSize() {
  if (!OpenClipboard(nullptr)) return 0;
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const SIZE_T size = data ? GlobalSize(data) : 0;
  CloseClipboard();
  return size;
}

void SeedPrivateFormat() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 1);
  SetClipboardData(RegisterClipboardFormatW(kPrivateFormatName), block);
  CloseClipboard();
}

TEST(ClipboardSeam, TheTextComesBackWithItsLineEnds) {
  const std::u16string text = u";     FST4 SYMBOLS Packed 4 per byte\r\n    ;   \u00C9T\u00C9\r\n\r\n";
  ASSERT_TRUE(Host().PlaceClipboardText(text));
  EXPECT_EQ(ClipboardText(), std::optional<std::u16string>(text));
  // The block holds the text and its terminating zero; the system may round
  // the size up, never down.
  EXPECT_GE(ClipboardBlockSize(), (text.size() + 1) * sizeof(char16_t));
}

TEST(ClipboardSeam, EmptyTextIsPlacedToo) {
  ASSERT_TRUE(Host().PlaceClipboardText(u"x"));
  ASSERT_TRUE(Host().PlaceClipboardText(u""));
  EXPECT_EQ(ClipboardText(), std::optional<std::u16string>(u""));
}

TEST(ClipboardSeam, OtherFormatsAreLeftInPlace) {
  SeedPrivateFormat();
  ASSERT_TRUE(Host().PlaceClipboardText(u"new"));
  EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(kPrivateFormatName)));
  EXPECT_EQ(ClipboardText(), std::optional<std::u16string>(u"new"));
}

// Another thread holds the clipboard open for a window of its own, as any
// other program would; OpenClipboard then fails for the tool.
class ClipboardHolder {
 public:
  ClipboardHolder()
      : opened_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
        thread_(CreateThread(nullptr, 0, &ClipboardHolder::Hold, this, 0, nullptr)) {
    WaitForSingleObject(opened_, INFINITE);
  }
  ~ClipboardHolder() {
    SetEvent(release_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(release_);
    CloseHandle(opened_);
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;
  bool Holds() const { return holds_; }

 private:
  static DWORD WINAPI Hold(LPVOID parameter) {
    auto* self = static_cast<ClipboardHolder*>(parameter);
    const HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr);
    self->holds_ = window != nullptr && OpenClipboard(window);
    SetEvent(self->opened_);
    WaitForSingleObject(self->release_, INFINITE);
    if (self->holds_) CloseClipboard();
    if (window != nullptr) DestroyWindow(window);
    return 0;
  }

  HANDLE opened_;
  HANDLE release_;
  bool holds_ = false;
  HANDLE thread_;
};

TEST(ClipboardSeam, AClipboardHeldOpenElsewhereIsReportedAsNotPlaced) {
  ASSERT_TRUE(Host().PlaceClipboardText(u"before"));
  {
    const ClipboardHolder holder;
    ASSERT_TRUE(holder.Holds());
    EXPECT_FALSE(Host().PlaceClipboardText(u"after"));
  }
  EXPECT_EQ(ClipboardText(), std::optional<std::u16string>(u"before"));
}

}  // namespace
}  // namespace sympack::platform
