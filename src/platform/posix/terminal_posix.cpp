// The console on a POSIX terminal: cells written with cursor positioning and
// colours, scrolling by a line feed on the bottom row, the cursor read with
// the terminal's cursor-position report, and keys read from the controlling
// terminal in raw mode (or, without one, lines from standard input).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <string>

#include "platform/platform.h"
#include "platform/posix/abnormal_end.h"
#include "platform/posix/terminal.h"
#include "platform/posix/transcript.h"
#include "text/utf.h"

namespace sympack::platform {
namespace {

constexpr int kNoFd = -1;
constexpr int kFallbackWidth = 80;
constexpr int kFallbackHeight = 25;
// How long to wait for the terminal to answer a cursor-position request.
constexpr int kReportTimeoutMs = 500;
// How long an ESC waits for the rest of an escape sequence.
constexpr int kEscapeTimeoutMs = 30;
constexpr std::uint16_t kDefaultAttribute = 7;  // light grey on black: the terminal's defaults
constexpr int kDefaultCursorSize = 10;

constexpr unsigned char kEsc = 0x1B;

struct Terminal {
  int outFd = kNoFd;        // where cells go: stdout or stderr, if a terminal
  int keyFd = kNoFd;        // the controlling terminal, for keys and reports
  bool stdinLines = false;  // no terminal keyboard: lines from standard input
  bool stdinEnded = false;
  bool savedModes = false;
  termios userModes{};
  termios rawModes{};
  std::string pending;             // output not yet written
  std::deque<unsigned char> input;  // bytes read but not yet decoded
  bool cursorKnown = false;
  int cursorX = 0, cursorY = 0;
  bool reportsWork = true;  // false once the terminal failed to answer
  std::uint16_t consoleAttribute = kDefaultAttribute;
  std::uint16_t drawnAttribute = kDefaultAttribute;  // what the terminal uses now
  bool cursorVisible = true;
  bool prepared = false;
};

Terminal g_terminal;

void WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

void Flush() {
  if (g_terminal.outFd != kNoFd && !g_terminal.pending.empty()) {
    WriteAll(g_terminal.outFd, g_terminal.pending.data(), g_terminal.pending.size());
  }
  g_terminal.pending.clear();
}

void Emit(std::string_view bytes) {
  if (g_terminal.outFd != kNoFd) g_terminal.pending += bytes;
}

// Windows attribute bits (1 blue, 2 green, 4 red) in the ANSI colour order
// (1 red, 2 green, 4 blue).
int AnsiColour(int windowsColour) {
  return ((windowsColour & 4) ? 1 : 0) | (windowsColour & 2) | ((windowsColour & 1) ? 4 : 0);
}

std::string SgrFor(std::uint16_t attribute) {
  const int foreground = attribute & 0xF;
  const int background = (attribute >> 4) & 0xF;
  std::string sgr = "\x1b[0";
  if (foreground != kDefaultAttribute) {
    sgr += ';' + std::to_string(((foreground & 8) ? 90 : 30) + AnsiColour(foreground));
  }
  if (background != 0) {
    sgr += ';' + std::to_string(((background & 8) ? 100 : 40) + AnsiColour(background));
  }
  return sgr + 'm';
}

void DrawIn(std::uint16_t attribute) {
  if (attribute == g_terminal.drawnAttribute) return;
  Emit(SgrFor(attribute));
  g_terminal.drawnAttribute = attribute;
}

void MoveTo(int x, int y) {
  Emit("\x1b[" + std::to_string(y + 1) + ';' + std::to_string(x + 1) + 'H');
}

void EnterRawModes() {
  if (g_terminal.savedModes) tcsetattr(g_terminal.keyFd, TCSANOW, &g_terminal.rawModes);
}

void LeaveRawModes() {
  if (g_terminal.savedModes) tcsetattr(g_terminal.keyFd, TCSANOW, &g_terminal.userModes);
}

// On a signal that ends the process, the user still gets the terminal back.
void RestoreOnSignal(int signalNumber) {
  posix::RemoveAbnormalEndFile();
  if (g_terminal.savedModes) tcsetattr(g_terminal.keyFd, TCSANOW, &g_terminal.userModes);
  if (g_terminal.outFd != kNoFd) {
    static const char kReset[] = "\x1b[0m\x1b[?25h";
    [[maybe_unused]] const ssize_t ignored = write(g_terminal.outFd, kReset, sizeof(kReset) - 1);
  }
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

void InstallSignalHandlers() {
  // Ctrl+C, Ctrl+\ and Ctrl+Z never end or stop the run; children get the
  // default handling back when they start.
  signal(SIGINT, SIG_IGN);
  signal(SIGQUIT, SIG_IGN);
  signal(SIGTSTP, SIG_IGN);
  for (int s : {SIGTERM, SIGHUP}) signal(s, RestoreOnSignal);
}

bool ReadMoreInput(int timeoutMs) {
  if (g_terminal.keyFd == kNoFd) return false;
  pollfd poller{g_terminal.keyFd, POLLIN, 0};
  for (;;) {
    const int ready = poll(&poller, 1, timeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    break;
  }
  unsigned char buffer[256];
  const ssize_t n = read(g_terminal.keyFd, buffer, sizeof(buffer));
  if (n <= 0) return false;
  g_terminal.input.insert(g_terminal.input.end(), buffer, buffer + n);
  return true;
}

// Keys typed while the terminal was in the user's own modes (before the tool
// started, or while a child ran) went through the user's input processing,
// which (ICRNL) turned their Enter into LF. Takes them in as soon as the raw
// modes are back, with Enter given back its code, so that none is lost.
void TakeKeysTypedInUserModes() {
  Terminal& t = g_terminal;
  if (!t.savedModes) return;
  const std::size_t first = t.input.size();
  while (ReadMoreInput(0)) {
  }
  const bool enterBecameLf = (t.userModes.c_iflag & ICRNL) && !(t.userModes.c_iflag & INLCR);
  if (!enterBecameLf) return;
  for (std::size_t i = first; i < t.input.size(); ++i) {
    if (t.input[i] == '\n') t.input[i] = '\r';
  }
}

// Looks for a cursor-position report "ESC [ row ; col R" in the input and
// takes it out, leaving typed keys around it in place.
bool TakeCursorReport(int& x, int& y) {
  auto& in = g_terminal.input;
  for (std::size_t start = 0; start + 1 < in.size(); ++start) {
    if (in[start] != kEsc || in[start + 1] != '[') continue;
    std::size_t pos = start + 2;
    int numbers[2] = {0, 0};
    int which = 0;
    bool digits = false;
    for (; pos < in.size(); ++pos) {
      const unsigned char c = in[pos];
      if (c >= '0' && c <= '9') {
        numbers[which] = numbers[which] * 10 + (c - '0');
        digits = true;
      } else if (c == ';' && which == 0) {
        which = 1;
      } else {
        break;
      }
    }
    if (pos < in.size() && in[pos] == 'R' && which == 1 && digits) {
      y = numbers[0] - 1;
      x = numbers[1] - 1;
      in.erase(in.begin() + static_cast<long>(start), in.begin() + static_cast<long>(pos) + 1);
      return true;
    }
  }
  return false;
}

void AskCursorPosition() {
  if (!g_terminal.reportsWork || g_terminal.keyFd == kNoFd || g_terminal.outFd == kNoFd) return;
  Emit("\x1b[6n");
  Flush();
  int x = 0, y = 0;
  while (!TakeCursorReport(x, y)) {
    if (!ReadMoreInput(kReportTimeoutMs)) {
      g_terminal.reportsWork = false;  // a terminal that never answers is not asked again
      return;
    }
  }
  g_terminal.cursorX = x;
  g_terminal.cursorY = y;
  g_terminal.cursorKnown = true;
}

void TerminalSize(int& width, int& height) {
  winsize size{};
  if (g_terminal.outFd != kNoFd && ioctl(g_terminal.outFd, TIOCGWINSZ, &size) == 0 &&
      size.ws_col > 0 && size.ws_row > 0) {
    width = size.ws_col;
    height = size.ws_row;
    return;
  }
  width = kFallbackWidth;
  height = kFallbackHeight;
}

// A cell holds one character; control characters are shown as the glyphs the
// PC character set gives them, never acted on by the terminal.
void AppendCell(std::string& out, char16_t unit) {
  static constexpr char16_t kControlGlyphs[32] = {
      u' ',    u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
      u'\u25D8', u'\u25CB', u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
      u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
      u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC'};
  if (unit < 32) {
    text::AppendUtf8(out, kControlGlyphs[unit]);
  } else if (unit == 0x7F) {
    text::AppendUtf8(out, u'\u2302');
  } else if (unit >= 0x80 && unit < 0xA0) {
    out += '?';  // C1 controls would be acted on by the terminal
  } else if (unit >= 0xD800 && unit <= 0xDFFF) {
    text::AppendUtf8(out, 0xFFFD);
  } else {
    text::AppendUtf8(out, unit);
  }
}

// ---- Keys --------------------------------------------------------------------------

// PC keyboard scan codes of the letters A..Z.
constexpr std::uint16_t kLetterScanCodes[26] = {
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

std::uint16_t ScanCodeOf(char32_t c) {
  if (c >= 'a' && c <= 'z') return kLetterScanCodes[c - 'a'];
  if (c >= 'A' && c <= 'Z') return kLetterScanCodes[c - 'A'];
  return 0;
}

KeyEvent Pressed(char16_t character, std::uint16_t scan = 0, bool alt = false) {
  KeyEvent event;
  event.pressed = true;
  event.character = character;
  event.scanCode = scan;
  event.altHeld = alt;
  return event;
}

bool EnsureInput(std::size_t count, int timeoutMs) {
  while (g_terminal.input.size() < count) {
    if (!ReadMoreInput(timeoutMs)) return false;
  }
  return true;
}

unsigned char TakeByte() {
  const unsigned char byte = g_terminal.input.front();
  g_terminal.input.pop_front();
  return byte;
}

// The rest of a UTF-8 sequence whose lead byte was taken.
char32_t TakeUtf8(unsigned char lead) {
  const int extra = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 0;
  if (extra == 0) return lead < 0x80 ? lead : 0xFFFD;
  std::string bytes(1, static_cast<char>(lead));
  for (int i = 0; i < extra; ++i) {
    if (!EnsureInput(1, kEscapeTimeoutMs) || (g_terminal.input.front() & 0xC0) != 0x80) break;
    bytes += static_cast<char>(TakeByte());
  }
  const std::u16string units = text::Utf8ToUtf16(bytes);
  if (units.size() == 2) {
    return 0x10000 + ((static_cast<char32_t>(units[0]) - 0xD800) << 10) + (units[1] - 0xDC00);
  }
  return units.empty() ? 0xFFFD : units[0];
}

std::deque<char16_t> g_pendingUnits;  // a low surrogate waiting to be delivered

KeyEvent CharacterKey(char32_t c, bool alt) {
  if (c >= 0x10000) {
    c -= 0x10000;
    g_pendingUnits.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    return Pressed(static_cast<char16_t>(0xD800 + (c >> 10)), 0, alt);
  }
  return Pressed(static_cast<char16_t>(c), ScanCodeOf(c), alt);
}

// Consumes an escape sequence after "ESC [" or "ESC O": a key with no
// character (arrows, function keys, Home, End, Insert, Delete, pages).
KeyEvent TakeSequence(unsigned char introducer) {
  if (introducer == 'O') {
    if (EnsureInput(1, kEscapeTimeoutMs)) TakeByte();
    return Pressed(0);
  }
  while (EnsureInput(1, kEscapeTimeoutMs)) {
    const unsigned char c = TakeByte();
    if (c >= 0x40 && c <= 0x7E) break;
  }
  return Pressed(0);
}

KeyEvent DecodeTerminalKey() {
  const unsigned char byte = TakeByte();
  if (byte == kEsc) {
    if (!EnsureInput(1, kEscapeTimeoutMs)) return Pressed(kEsc);
    const unsigned char next = g_terminal.input.front();
    if (next == '[' || next == 'O') {
      TakeByte();
      return TakeSequence(next);
    }
    if (next == kEsc) return Pressed(kEsc);
    TakeByte();
    return CharacterKey(TakeUtf8(next), true);  // Alt with that key
  }
  if (byte == 127 || byte == 8) return Pressed(8);
  return CharacterKey(TakeUtf8(byte), false);
}

// Without a terminal keyboard: the characters of standard input's lines, each
// line ended by Enter; at the end of input, Enter for every further read.
std::optional<KeyEvent> NextStdinKey() {
  if (g_terminal.input.empty() && !g_terminal.stdinEnded) {
    unsigned char buffer[4096];
    ssize_t n;
    do {
      n = read(STDIN_FILENO, buffer, sizeof(buffer));
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
      g_terminal.stdinEnded = true;
    } else {
      g_terminal.input.insert(g_terminal.input.end(), buffer, buffer + n);
    }
  }
  if (g_terminal.input.empty()) return Pressed(13);
  const unsigned char byte = TakeByte();
  if (byte == '\r') {
    if (!g_terminal.input.empty() && g_terminal.input.front() == '\n') TakeByte();
    return Pressed(13);
  }
  if (byte == '\n') return Pressed(13);
  return CharacterKey(TakeUtf8(byte), false);
}

}  // namespace

// ---- The seam -----------------------------------------------------------------------

OutputKind PrepareConsole() {
  Terminal& t = g_terminal;
  if (t.prepared) return t.outFd != kNoFd ? OutputKind::kScreen : OutputKind::kTranscript;
  t.prepared = true;
  if (posix::OutputTakesCells()) {
    t.outFd = STDOUT_FILENO;
    t.keyFd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  }
  t.stdinLines = t.keyFd == kNoFd;
  if (t.keyFd != kNoFd && tcgetattr(t.keyFd, &t.userModes) == 0) {
    t.rawModes = t.userModes;
    t.rawModes.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
    t.rawModes.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL | INLCR | IGNCR | ISTRIP));
    t.rawModes.c_cc[VMIN] = 1;
    t.rawModes.c_cc[VTIME] = 0;
    t.savedModes = true;
  }
  InstallSignalHandlers();
  EnterRawModes();
  TakeKeysTypedInUserModes();
  return t.outFd != kNoFd ? OutputKind::kScreen : OutputKind::kTranscript;
}

void RestoreConsole() {
  Terminal& t = g_terminal;
  if (!t.cursorVisible) Emit("\x1b[?25h");
  Flush();
  LeaveRawModes();
  if (t.keyFd != kNoFd) close(t.keyFd);
  t.keyFd = kNoFd;
  t.savedModes = false;
}

std::optional<ScreenInfo> ReadScreenInfo() {
  Terminal& t = g_terminal;
  if (t.outFd == kNoFd) return std::nullopt;
  ScreenInfo info;
  TerminalSize(info.width, info.height);
  if (!t.cursorKnown) AskCursorPosition();
  if (!t.cursorKnown) {
    // No answer: go on from the bottom row, where scrolling always works.
    t.cursorX = 0;
    t.cursorY = info.height - 1;
    t.cursorKnown = true;
  }
  info.cursorX = std::min(t.cursorX, info.width - 1);
  info.cursorY = std::min(t.cursorY, info.height - 1);
  return info;
}

bool WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) {
  if (g_terminal.outFd == kNoFd) return false;
  MoveTo(x, y);
  DrawIn(attribute);
  std::string bytes;
  for (const char16_t unit : cells) AppendCell(bytes, unit);
  Emit(bytes);
  // Where the terminal's own cursor ends is its business; the console
  // algorithms place the cursor explicitly after every write.
  g_terminal.cursorKnown = false;
  return true;
}

bool ScrollUpOneRow(std::uint16_t fillAttribute) {
  if (g_terminal.outFd == kNoFd) return false;
  int width = 0, height = 0;
  TerminalSize(width, height);
  MoveTo(0, height - 1);
  // The background of the fill is the only part of the attribute a new row
  // shows; the tool's background is always black.
  DrawIn(static_cast<std::uint16_t>(kDefaultAttribute | (fillAttribute & 0xF0)));
  Emit("\n");  // at the bottom row: the top row goes into the scrollback
  g_terminal.cursorKnown = false;
  return true;
}

bool PlaceCursor(int x, int y) {
  if (g_terminal.outFd == kNoFd) return false;
  MoveTo(x, y);
  g_terminal.cursorX = x;
  g_terminal.cursorY = y;
  g_terminal.cursorKnown = true;
  return true;
}

bool SetCurrentAttribute(std::uint16_t attribute) {
  g_terminal.consoleAttribute = attribute;
  if (g_terminal.outFd == kNoFd) return false;
  DrawIn(attribute);
  return true;
}

std::optional<CursorShape> ReadCursorShape() {
  if (g_terminal.outFd == kNoFd) return std::nullopt;
  return CursorShape{kDefaultCursorSize, g_terminal.cursorVisible};
}

bool SetCursorShape(CursorShape shape) {
  if (g_terminal.outFd == kNoFd) return false;
  if (shape.visible != g_terminal.cursorVisible) Emit(shape.visible ? "\x1b[?25h" : "\x1b[?25l");
  g_terminal.cursorVisible = shape.visible;
  return true;
}

std::optional<KeyEvent> NextKeyEvent() {
  Flush();
  if (!g_pendingUnits.empty()) {
    const char16_t unit = g_pendingUnits.front();
    g_pendingUnits.pop_front();
    return Pressed(unit);
  }
  if (g_terminal.stdinLines) return NextStdinKey();
  if (g_terminal.keyFd == kNoFd) return std::nullopt;
  while (g_terminal.input.empty()) {
    if (!ReadMoreInput(-1)) return std::nullopt;  // the terminal went away
  }
  return DecodeTerminalKey();
}

bool PlaceClipboardText(std::u16string_view text) {
  static constexpr char kBase64[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  // Without cells on a terminal the sequence goes to standard error, when that
  // is a terminal that understands sequences; otherwise nothing keeps the text.
  int fd = g_terminal.outFd;
  if (fd == kNoFd && isatty(STDERR_FILENO) && posix::TerminalCanPlaceCursor()) fd = STDERR_FILENO;
  if (fd == kNoFd) return false;
  const std::string utf8 = text::Utf16ToUtf8(text);
  std::string sequence = "\x1b]52;c;";
  for (std::size_t i = 0; i < utf8.size(); i += 3) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    const auto b1 = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0u;
    const auto b2 = i + 2 < utf8.size() ? static_cast<unsigned char>(utf8[i + 2]) : 0u;
    sequence += kBase64[b0 >> 2];
    sequence += kBase64[((b0 & 3) << 4) | (b1 >> 4)];
    sequence += i + 1 < utf8.size() ? kBase64[((b1 & 15) << 2) | (b2 >> 6)] : '=';
    sequence += i + 2 < utf8.size() ? kBase64[b2 & 63] : '=';
  }
  sequence += '\a';
  if (fd != g_terminal.outFd) {
    WriteAll(fd, sequence.data(), sequence.size());
    return true;
  }
  Emit(sequence);
  Flush();
  return true;
}

namespace posix {

void HandOverTerminal() {
  DrawIn(g_terminal.consoleAttribute);
  Flush();
  LeaveRawModes();
}

void TakeBackTerminal() {
  EnterRawModes();
  TakeKeysTypedInUserModes();
  g_terminal.cursorKnown = false;
}

void FlushTerminal() { Flush(); }

}  // namespace posix
}  // namespace sympack::platform
