// The conversions between the tool's text (UTF-16, as the Win32 "W" calls
// take it) and the ANSI code page its messages, file names and reports are
// in. An interface, implemented once per operating system (on Windows they
// are the system's own) and in memory for the tests; the console converts
// what it shows through it, the run what it acts on.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sympack::text {

class CodePage {
 public:
  virtual ~CodePage() = default;
  // ANSI code page bytes to UTF-16, precomposed (MultiByteToWideChar, CP_ACP,
  // MB_PRECOMPOSED). POSIX: the locale's: UTF-8 in a UTF-8 locale,
  // Windows-1252 in any other.
  virtual std::u16string AnsiToWide(std::string_view ansi) = 0;
  // UTF-16 to ANSI code page bytes, for showing: a character the page cannot
  // hold becomes the page's default character, never a look-alike
  // (WideCharToMultiByte, CP_ACP, WC_NO_BEST_FIT_CHARS).
  virtual std::string WideToAnsi(std::u16string_view wide) = 0;
  // The same for text the run acts on (a message, a file name): exactly or
  // not at all. Empty when any character has no counterpart of its own in
  // the page (the default character used, or a look-alike, or a lone
  // surrogate in UTF-8): such text would name another file or send another
  // message.
  virtual std::optional<std::string> WideToAnsiExactly(std::u16string_view wide) = 0;
  // The length in bytes of the ANSI character that starts `text` (0 when it
  // is empty): 1 in a single-byte code page; a lead byte and its trail byte
  // in a double-byte one; a well-formed sequence (else one byte) in UTF-8.
  virtual std::size_t AnsiCharacterLength(std::string_view text) = 0;
  // Text a program printed (the simulator's report), in the ANSI code page.
  // Windows: programs print in it, the text stands; POSIX: programs print
  // UTF-8.
  virtual std::string ProgramTextToAnsi(std::string_view printed) = 0;
  // True when every ANSI character is one byte (GetCPInfo: MaxCharSize 1).
  virtual bool AnsiIsSingleByte() = 0;
};

}  // namespace sympack::text
