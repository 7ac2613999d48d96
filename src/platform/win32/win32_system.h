// The host System on Windows: the Win32 API, with the state a run needs held
// here (the console chosen at preparation, the keyboard, standard input's
// lines, the transcript) rather than in file-level globals. Each group of
// members is defined in the file of its job:
//   win32_system.cpp    making it; command line, environment, sleeping
//   code_page_win32.cpp the ANSI code page conversions
//   console_win32.cpp   console modes, the screen in use, keys
//   files_win32.cpp     names, identities, deletion, the folder claim
//   open_file_win32.cpp opening files
//   process_win32.cpp   starting a command line, in the run's job
//   clipboard_win32.cpp the clipboard
//   control_handler_win32.cpp  the control events, the run's job, the file
//                       removed at an abnormal end
#pragma once

#include <memory>

#include "console/transcript.h"
#include "platform/host_system.h"
#include "platform/win32/console_screen_win32.h"
#include "platform/win32/standard_streams_win32.h"
#include "platform/win32/stdin_lines_win32.h"
#include "platform/win32/win32_support.h"

namespace sympack::platform::win32 {

class Win32System final : public HostSystem {
 public:
  Win32System();

  void PrepareForRun() override;
  void RestoreAfterRun() override;
  [[noreturn]] void EndInterrupted() override;

  std::u16string AnsiToWide(std::string_view ansi) override;
  std::string WideToAnsi(std::u16string_view wide) override;
  std::optional<std::string> WideToAnsiExactly(std::u16string_view wide) override;
  std::size_t AnsiCharacterLength(std::string_view text) override;
  std::string ProgramTextToAnsi(std::string_view printed) override;
  bool AnsiIsSingleByte() override;

  std::u16string CommandTail() override;
  std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) override;
  std::u16string DefaultInterpreter() override;
  std::optional<std::u16string> InstalledSimulator() override;
  std::optional<std::uint32_t> RunProcess(std::u16string_view commandLine) override;
  bool ProcessWasInterrupted() override;
  StartFailure LastStartFailure() override;

  console::Screen& Screen() override;
  std::optional<KeyEvent> Next() override;
  void SleepMilliseconds(unsigned milliseconds) override;

  std::optional<DirectoryEntry> FindEntry(std::u16string_view name) override;
  bool DeleteFileByName(std::u16string_view path) override;
  std::unique_ptr<OpenFile> OpenForReading(std::u16string_view path) override;
  WholeFileWrite WriteWholeFile(std::u16string_view path, std::string_view bytes) override;
  std::u16string NameAsCreated(std::u16string_view path) override;
  bool NamesSameFile(std::u16string_view first, std::u16string_view second) override;
  bool NamesStandardOutputOrError(std::u16string_view path) override;
  bool FolderRefusesNewFile(std::u16string_view path) override;
  std::u16string ListedName(std::u16string_view path) override;

  void RemoveAtAbnormalEnd(std::u16string_view path) override;
  bool ClaimCurrentFolder() override;

  bool PlaceClipboardText(std::u16string_view text) override;
  bool WriteStandardOutput(std::string_view text) override;
  void WriteStandardError(std::string_view text) override;

 private:
  // Where keys come from, chosen at preparation.
  enum class InputKind {
    kKeys,          // key events from the console keyboard, raw
    kConsoleLines,  // whole lines from a console in its line mode (it echoes them)
    kStreamLines,   // bytes from a file or pipe, in the ANSI code page
  };

  void ChooseInput(bool transcript);
  std::optional<std::string> ConvertToAnsi(std::u16string_view wide, bool exactly);
  std::optional<KeyEvent> NextConsoleKey();

  bool prepared_ = false;
  bool interrupted_ = false;  // Ctrl+C or Ctrl+Break ended the last program run
  InputKind inputKind_ = InputKind::kKeys;
  OwnedHandle keyboard_;  // "CONIN$", open for reading while keys come from it
  ConsoleScreen cells_;   // the console's screen buffer, when standard output is one
  StandardInputLines typedLines_;
  // The plain transcript, when standard output is no console; its streams
  // are made first and go last, since the screen writes into them.
  std::unique_ptr<StandardStreams> streams_;
  std::unique_ptr<console::TranscriptScreen> transcript_;
  StartFailure lastStartFailure_ = StartFailure::kNone;
};

// A console input record as the tool's key event: a release or no key at
// all is not pressed; Alt with a key of the three letter rows is a shortcut.
KeyEvent KeyEventFrom(const INPUT_RECORD& record);

}  // namespace sympack::platform::win32
