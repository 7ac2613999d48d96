// Test helper: the clipboard as another program sees it.
//   clipboard_dump           the CF_UNICODETEXT text as UTF-8 on standard output
//   clipboard_dump formats   the numbers of all formats present, one a line
//   clipboard_dump seed      empties the clipboard and leaves a text "seed" plus
//                            one private format, so a later run can show that
//                            the private data was left alone
// Exit codes: 0 done, 1 no such text, 2 clipboard not available.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kDone = 0;
constexpr int kNoText = 1;
constexpr int kNoClipboard = 2;
constexpr wchar_t kPrivateFormatName[] = L"SympackTestMarker";
constexpr char kPrivateData[] = "marker";

class Clipboard {
 public:
  Clipboard() : open_(OpenClipboard(nullptr) != FALSE) {}
  ~Clipboard() {
    if (open_) CloseClipboard();
  }
  Clipboard(const Clipboard&) = delete;
  Clipboard& operator=(const Clipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

std::string Utf8(const wchar_t* text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), bytes, nullptr, nullptr);
  out.pop_back();  // the terminator
  return out;
}

HGLOBAL Block(const void* data, std::size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block == nullptr) return nullptr;
  std::memcpy(GlobalLock(block), data, size);
  GlobalUnlock(block);
  return block;
}

int DumpText() {
  const Clipboard clipboard;
  if (!clipboard.IsOpen()) return kNoClipboard;
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return kNoText;
  const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
  if (text == nullptr) return kNoText;
  const std::string utf8 = Utf8(text);
  GlobalUnlock(data);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  return kDone;
}

int ListFormats() {
  const Clipboard clipboard;
  if (!clipboard.IsOpen()) return kNoClipboard;
  const UINT marker = RegisterClipboardFormatW(kPrivateFormatName);
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
    if (format == marker) {
      std::printf("marker\n");
    } else {
      std::printf("%u\n", format);
    }
  }
  return kDone;
}

int Seed() {
  const Clipboard clipboard;
  if (!clipboard.IsOpen()) return kNoClipboard;
  EmptyClipboard();
  const wchar_t seedText[] = L"seed";
  SetClipboardData(CF_UNICODETEXT, Block(seedText, sizeof(seedText)));
  SetClipboardData(RegisterClipboardFormatW(kPrivateFormatName), Block(kPrivateData, sizeof(kPrivateData)));
  return kDone;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // the text's own CR LF, nothing added
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "formats") return ListFormats();
  if (mode == "seed") return Seed();
  return DumpText();
}
