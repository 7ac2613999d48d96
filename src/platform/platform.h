// The operating system's calls, one implementation file set per OS (posix/,
// win32/; CMake picks one), that the host System (host_system.cpp) is made
// of: the run and its steps are given a System (system.h) and call none of
// these. The Windows side calls the Win32 API directly; the POSIX side stands
// in for it on Linux terminals.
//
// Text crosses this seam as UTF-16 (std::u16string), as the Win32 "W" calls
// take it; the ANSI code page conversions are seam functions too, because on
// Windows they are the system's own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sympack::platform {

// ---- Code page ---------------------------------------------------------------

// ANSI code page bytes to UTF-16, precomposed (MultiByteToWideChar, CP_ACP,
// MB_PRECOMPOSED). POSIX: the locale's: UTF-8 in a UTF-8 locale, Windows-1252
// in any other.
std::u16string AnsiToWide(std::string_view ansi);
// UTF-16 to ANSI code page bytes; a character the page cannot hold becomes the
// page's default character (WideCharToMultiByte, CP_ACP, no flags).
std::string WideToAnsi(std::u16string_view wide);
// The length in bytes of the ANSI character that starts `text` (0 when it is
// empty): 1 in a single-byte code page; a lead byte and its trail byte in a
// double-byte one; a well-formed sequence (else one byte) in UTF-8.
std::size_t AnsiCharacterLength(std::string_view text);
// Text a program printed (the simulator's report), in the ANSI code page.
// Windows: programs print in it, the text stands; POSIX: programs get and
// print UTF-8.
std::string ProgramTextToAnsi(std::string_view printed);
// True when every ANSI character is one byte (GetCPInfo: MaxCharSize 1).
// POSIX: false in a UTF-8 locale, where the ANSI code page is UTF-8.
bool AnsiIsSingleByte();

// ---- Command line and environment ----------------------------------------------

// The text after the program name on the process command line, as UTF-16.
// Windows: the tail rules applied to GetCommandLineW(); POSIX: argv[1..]
// joined with one blank. argc/argv are what main() received.
std::u16string CommandTailWide(int argc, char** argv);

// One environment variable, looked up without regard to letter case
// (GetEnvironmentVariableW). Empty optional when it is not set.
std::optional<std::u16string> EnvironmentVariable(std::u16string_view name);

// The command interpreter to use when "comspec" is not set. Windows: none
// (empty); POSIX: our own interpreter program, installed beside the tool.
std::u16string DefaultInterpreter();

// The simulator installed with the tool, for a folder that has none of its
// own. POSIX: <prefix>/libexec/sympack/FST4SIM.EXE, found from the folder of
// the running program (<prefix>/bin), so any prefix works, when it is an
// executable file. Windows: none (the zip holds both programs in one folder).
std::optional<std::u16string> InstalledSimulator();

// ---- Console output --------------------------------------------------------------

// The console screen buffer, in cells. Columns and rows count from 0.
struct ScreenInfo {
  int cursorX = 0;
  int cursorY = 0;
  int width = 0;   // W: columns of the whole buffer
  int height = 0;  // H: rows of the whole buffer
};

struct CursorShape {
  int sizePercent = 0;  // 1..100, percent of the cell; 0 means unknown
  bool visible = true;
};

// How the tool's texts reach the user.
enum class OutputKind {
  kScreen,      // cells placed on a console or a terminal that can place the cursor
  kTranscript,  // plain lines on standard output (see "Plain transcript" below)
};

// Chooses how the texts go out and where keys come from. Standard output that
// is a console (POSIX: a terminal that can place the cursor) gets cells: its
// stream mode is set, the keyboard opened, standard input put in raw mode.
// Anything else gets the plain transcript. Keys come from the console keyboard
// only while standard input is that console and the texts go out as cells;
// otherwise typed lines are read from standard input, whatever it is. Also
// installs the control handler and reads the cursor shape.
OutputKind PrepareConsole();
// Closes the keyboard and puts back whatever PrepareConsole changed in the
// terminal that the user must get back (POSIX: terminal modes, cursor).
void RestoreConsole();

std::optional<ScreenInfo> ReadScreenInfo();  // GetConsoleScreenBufferInfo
// Writes a run of cells on one row, each with the same attribute
// (WriteConsoleOutputW). The run must fit on the row.
bool WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute);
// Moves rows 1..H-1 to 0..H-2 and blanks the last row in `fillAttribute`
// (ScrollConsoleScreenBufferW).
bool ScrollUpOneRow(std::uint16_t fillAttribute);
bool PlaceCursor(int x, int y);                 // SetConsoleCursorPosition
bool SetCurrentAttribute(std::uint16_t attribute);  // SetConsoleTextAttribute
std::optional<CursorShape> ReadCursorShape();   // GetConsoleCursorInfo
bool SetCursorShape(CursorShape shape);         // SetConsoleCursorInfo

// ---- Plain transcript ----------------------------------------------------------------

// Text for standard output, no line end. POSIX: UTF-8; Windows: the ANSI code
// page, as programs write into a redirected standard output there.
void WriteTranscriptText(std::u16string_view text);
// The platform's line end on standard output: LF on POSIX, CR LF on Windows.
void EndTranscriptLine();
// A whole line and a line end on standard error (light red lines go there too).
void WriteErrorLine(std::u16string_view text);
// Called when a typed line is about to be read, with the text of the current
// transcript line (the prompt). Shows it to whoever types, when standard input
// is a console or terminal that does not show standard output (standard error
// is used when it is one). Everything written so far goes out first.
void ShowPromptToTypist(std::u16string_view prompt);
// True when typed lines are echoed by the terminal onto the very output the
// transcript goes to (POSIX: a terminal that cannot place the cursor, in its
// own line mode), so that the transcript must not echo them again.
bool TypingShowsOnTranscript();

// ---- Keyboard ----------------------------------------------------------------------

// One keyboard input event, as the console reports it.
struct KeyEvent {
  bool pressed = false;        // false: a release, or a non-key event
  char16_t character = 0;      // 0: a key without a character
  std::uint16_t scanCode = 0;  // PC keyboard scan code, where known
  bool altHeld = false;        // left or right Alt (AltGr included)
  // Not a key: the terminal was someone else's meanwhile (POSIX job control,
  // a stop and continue), so the line being typed must be shown again.
  bool redraw = false;
};

// Waits, sleeping, for the next input event and removes it from the queue.
// Typed lines from standard input come as their characters and Enter; at the
// end of that input every further call gives Enter. Empty optional when no
// keyboard will ever deliver one (the console keyboard went away).
std::optional<KeyEvent> NextKeyEvent();

// ---- Time -----------------------------------------------------------------------------

void SleepMilliseconds(unsigned milliseconds);

// ---- Files and directories ----------------------------------------------------------

// One directory entry found by a name pattern (FindFirstFileW/FindNextFileW).
struct DirectoryEntry {
  std::u16string name;  // the entry's own name, without directory part
  bool hidden = false;
  bool system = false;  // POSIX: devices, sockets, pipes
  bool directory = false;
  bool volumeLabel = false;
};

// An open directory search; closes itself (FindClose).
class EntrySearch {
 public:
  // Starts a search for `pattern`: a path whose last part may hold * and ?.
  explicit EntrySearch(std::u16string_view pattern);
  ~EntrySearch();
  EntrySearch(const EntrySearch&) = delete;
  EntrySearch& operator=(const EntrySearch&) = delete;

  // The next matching entry; empty when there is none (or the search failed).
  std::optional<DirectoryEntry> Next();

 private:
  struct State;
  State* state_;
};

bool DeleteFileByName(std::u16string_view path);  // DeleteFileW

// Names a file that is removed if the process is ended from outside before the
// run's own clean-up (POSIX: SIGTERM or SIGHUP; Windows: the console closed,
// log-off or shut-down). An empty name cancels it.
void RemoveAtAbnormalEnd(std::u16string_view path);

// Claims the current directory for this process, so that two runs never work
// in one folder at the same time. The claim touches no file and the system
// drops it when the process ends in whatever way. False when another process
// holds it; true also when the system cannot tell.
bool ClaimCurrentFolder();

// An open file handle; closes itself (CloseHandle).
class File {
 public:
  File() = default;
  explicit File(std::intptr_t handle) : handle_(handle) {}
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool IsOpen() const { return handle_ != kInvalid; }
  std::intptr_t Handle() const { return handle_; }
  void Close();

  static constexpr std::intptr_t kInvalid = -1;

 private:
  std::intptr_t handle_ = kInvalid;
};

// Opens an existing file for reading only, with no sharing (CreateFileW,
// GENERIC_READ, share 0, OPEN_EXISTING). Not open on failure.
File OpenForReading(std::u16string_view path);
// Opens or creates a file for writing only, with no sharing (CreateFileW,
// GENERIC_WRITE, share 0, OPEN_ALWAYS). Never waits: a pipe or device with
// nobody at the other end, like a name the system cannot take whole, is not
// opened. Not open on failure.
File OpenOrCreateForWriting(std::u16string_view path);
// True when the file is a disk file (GetFileType == FILE_TYPE_DISK), false for
// devices and pipes.
bool IsDiskFile(const File& file);
// Moves to the start and cuts the file there (SetFilePointer + SetEndOfFile).
bool TruncateToStart(const File& file);
// Cuts the file at its current position (SetEndOfFile).
bool TruncateHere(const File& file);
// Reads up to `size` bytes (ReadFile). Bytes read (0 at the end of the file),
// or empty optional when the read failed.
std::optional<std::size_t> ReadBytes(const File& file, char* buffer, std::size_t size);
// Writes the bytes (Windows: one WriteFile call; POSIX: write() again after a
// partial write or an interruption, until all are written or one fails).
// Bytes written (fewer than given when a write failed after some went out),
// or empty optional when none could be written.
std::optional<std::size_t> WriteBytes(const File& file, std::string_view bytes);

// The name the file system holds for a file created under `path`. Windows:
// its trailing dots and blanks dropped (NormalisedWindowsName); POSIX: the
// path as it stands.
std::u16string NameAsCreated(std::u16string_view path);

// True when both names exist and denote one and the same file.
bool NamesSameFile(std::u16string_view first, std::u16string_view second);
// True when the name exists and denotes the very file (or device, or pipe)
// standard output or standard error writes to: device and inode on POSIX,
// volume serial number and file index on Windows.
bool NamesStandardOutputOrError(std::u16string_view path);
// True when a new file cannot be made under this name because its folder may
// not be written (no permission, or write protection); false when it could
// be, or when something else stands in the way. Leaves nothing behind.
bool FolderRefusesNewFile(std::u16string_view path);
// The long name the file system keeps for an existing entry whose name may
// be an alias (GetLongPathNameW: a Windows 8.3 short name); the name as given
// when it names nothing or the system keeps one name only (POSIX).
std::u16string LongNameOf(std::u16string_view path);

// ---- Processes ------------------------------------------------------------------------

// The longest process command line the platform can start, in UTF-16 units
// (CreateProcessW: 32767 including the terminating zero).
constexpr std::size_t kMaxCommandLineUnits = 32766;

// Starts the command line (the program is its first token, as CreateProcessW
// takes it with no separate program name) in this console, with this
// environment and directory, and waits for it to end without a time limit.
// The exit code, or empty optional when the process could not be started.
// While it runs the console is handed over in its normal modes.
std::optional<std::uint32_t> RunProcess(std::u16string_view commandLine);

// ---- Clipboard --------------------------------------------------------------------------

// Places UTF-16 text on the clipboard as CF_UNICODETEXT (Windows) or through
// the output terminal (POSIX, OSC 52). False when it certainly was not placed.
bool PlaceClipboardText(std::u16string_view text);

}  // namespace sympack::platform
