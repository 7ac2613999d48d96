#include "platform/terminal_input.h"

#include "platform/platform.h"
#include "text/utf.h"

namespace sympack::platform {
namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kDel = 0x7F;
// A coordinate in a report has at most this many digits (terminals stop at
// a few thousand cells).
constexpr std::size_t kMaxReportDigits = 5;

// A terminal sends Alt with a key as ESC before that key's character (its
// meta key). Alt with a letter is a shortcut, as it is on a PC keyboard's
// letter keys; Alt with any other key still types its character.
bool IsShortcut(char16_t unit, bool alt) {
  return alt && ((unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z'));
}

KeyEvent KeyWithoutCharacter() {
  KeyEvent event;
  event.pressed = true;
  return event;
}

// The bytes of the character that starts at `at`: its lead and the
// continuation bytes that follow (fewer than it needs where others follow).
// Zero when it may yet be completed by bytes still to come.
std::size_t CharacterBytes(std::string_view bytes, std::size_t at, bool paused) {
  const std::size_t wanted = text::Utf8SequenceLength(static_cast<unsigned char>(bytes[at]));
  std::size_t have = 1;
  while (have < wanted && at + have < bytes.size() &&
         text::IsUtf8Continuation(static_cast<unsigned char>(bytes[at + have]))) {
    ++have;
  }
  if (have < wanted && at + have == bytes.size() && !paused) return 0;
  return have;
}

// The events of one character's bytes: one per UTF-16 unit, Alt on the first.
void AddCharacter(std::string_view utf8, bool alt, std::vector<KeyEvent>& events) {
  std::u16string units = text::Utf8ToUtf16(utf8);
  const bool surrogatePair = units.size() == 2 && units[0] >= 0xD800 && units[0] < 0xDC00;
  if (units.size() != 1 && !surrogatePair) units.assign(1, u'\uFFFD');  // a broken sequence is one character
  for (std::size_t i = 0; i < units.size(); ++i) {
    events.push_back(CharacterKeyEvent(units[i], alt && i == 0));
  }
}

// The length of the escape sequence after "ESC [" at `at` (counting those two
// bytes): up to and including its final byte (0x40..0x7E). Zero when the final
// byte has not come yet.
std::size_t ControlSequenceLength(std::string_view bytes, std::size_t at, bool paused) {
  for (std::size_t i = at + 2; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if ((c >= 0x40 && c <= 0x7E) || i + 1 - at >= kMaxKeySequenceBytes) return i + 1 - at;
  }
  return paused ? bytes.size() - at : 0;
}

// Decodes the key at `at`; returns the bytes it took, 0 when it is unfinished.
std::size_t DecodeOne(std::string_view bytes, std::size_t at, bool paused,
                      std::vector<KeyEvent>& events) {
  const auto byte = static_cast<unsigned char>(bytes[at]);
  if (byte == kDel || byte == kBackspaceCharacter) {
    events.push_back(CharacterKeyEvent(kBackspaceCharacter));
    return 1;
  }
  if (byte != kEsc) return DecodeCharacter(bytes.substr(at), paused, events);
  if (at + 1 == bytes.size()) {
    if (!paused) return 0;
    events.push_back(CharacterKeyEvent(kEsc));  // Esc on its own
    return 1;
  }
  const auto next = static_cast<unsigned char>(bytes[at + 1]);
  if (next == kEsc) {
    events.push_back(CharacterKeyEvent(kEsc));  // the second ESC starts a key of its own
    return 1;
  }
  if (next == 'O') {  // SS3: one more byte names the key (F1..F4, keypad)
    if (at + 2 == bytes.size() && !paused) return 0;
    events.push_back(KeyWithoutCharacter());
    return at + 2 == bytes.size() ? 2 : 3;
  }
  if (next == '[') {
    const std::size_t length = ControlSequenceLength(bytes, at, paused);
    if (length > 0) events.push_back(KeyWithoutCharacter());
    return length;
  }
  const std::size_t length = CharacterBytes(bytes, at + 1, paused);  // Alt with that key
  if (length == 0) return 0;
  AddCharacter(bytes.substr(at + 1, length), true, events);
  return length + 1;
}

}  // namespace

std::size_t DecodeCharacter(std::string_view bytes, bool paused, std::vector<KeyEvent>& events) {
  const std::size_t length = CharacterBytes(bytes, 0, paused);
  if (length > 0) AddCharacter(bytes.substr(0, length), false, events);
  return length;
}

KeyEvent CharacterKeyEvent(char16_t unit, bool alt) {
  KeyEvent event;
  event.pressed = true;
  event.character = unit;
  event.altHeld = alt;
  event.shortcut = IsShortcut(unit, alt);
  return event;
}

std::size_t DecodeKeys(std::string_view bytes, bool paused, std::vector<KeyEvent>& events) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t taken = DecodeOne(bytes, at, paused, events);
    if (taken == 0) break;
    at += taken;
  }
  return at;
}

std::optional<CursorReport> FindCursorReport(std::string_view bytes) {
  for (std::size_t start = 0; start + 1 < bytes.size(); ++start) {
    if (bytes[start] != static_cast<char>(kEsc) || bytes[start + 1] != '[') continue;
    int numbers[2] = {0, 0};
    std::size_t digits[2] = {0, 0};
    int which = 0;
    std::size_t pos = start + 2;
    for (; pos < bytes.size(); ++pos) {
      const char c = bytes[pos];
      if (c >= '0' && c <= '9' && digits[which] < kMaxReportDigits) {
        numbers[which] = numbers[which] * 10 + (c - '0');
        ++digits[which];
      } else if (c == ';' && which == 0) {
        which = 1;
      } else {
        break;
      }
    }
    if (pos < bytes.size() && bytes[pos] == 'R' && which == 1 && digits[0] > 0 && digits[1] > 0 &&
        numbers[0] > 0 && numbers[1] > 0) {
      return CursorReport{start, pos + 1 - start, numbers[1] - 1, numbers[0] - 1};
    }
  }
  return std::nullopt;
}

}  // namespace sympack::platform
