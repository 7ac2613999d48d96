// Typed answers read from a file or pipe: a byte-order mark at the very start
// says how the bytes are encoded. Windows editors write one (Notepad's UTF-8
// and "Unicode", PowerShell's redirections), and neither the mark nor a
// UTF-16 text may reach a message or a file name as bytes.
#pragma once

#include <string>
#include <string_view>

namespace sympack::text {

enum class InputEncoding {
  kUndecided,  // too few bytes yet to tell
  kAsIs,       // no mark: the stream's own bytes, read as ever
  kUtf8,       // EF BB BF: UTF-8, the mark dropped
  kUtf16Le,    // FF FE: UTF-16, low byte first
  kUtf16Be,    // FE FF: UTF-16, high byte first
};

class MarkedInput {
 public:
  // The next bytes read from the stream.
  void Take(std::string_view bytes);
  // No more bytes will come: a part mark is then text, a lone last byte of
  // UTF-16 a replacement character.
  void End();
  // Everything that can be handed on so far, without the mark: the stream's
  // own bytes when it has none, UTF-8 when it has one (UTF-16 converted, a
  // character split over two reads held back until it is whole).
  std::string Drain();
  // True once a mark said the text from Drain is UTF-8.
  bool IsUtf8() const { return encoding_ != InputEncoding::kAsIs && encoding_ != InputEncoding::kUndecided; }
  InputEncoding Encoding() const { return encoding_; }

 private:
  void Decide();
  std::string DrainUtf16();

  InputEncoding encoding_ = InputEncoding::kUndecided;
  std::string pending_;
  bool ended_ = false;
};

}  // namespace sympack::text
