// The system on POSIX: a Linux terminal standing in for the Windows console.
// It owns everything of the run's surroundings it changes (the terminal and
// its modes, the screen, the keys decoded, standard input's lines); only
// what signal handlers read lives apart (signal_state.h). Its members are
// defined by job: the console here in posix_system.cpp, the code page and
// environment in environment_posix.cpp, files in files_posix.cpp, processes
// in process_posix.cpp.
#pragma once

#include <deque>
#include <memory>

#include "console/transcript.h"
#include "platform/host_system.h"
#include "platform/posix/controlling_terminal.h"
#include "platform/posix/stdin_lines.h"
#include "platform/posix/transcript.h"
#include "platform/posix/vt_screen.h"

namespace sympack::platform::posix {

class PosixSystem final : public HostSystem {
 public:
  PosixSystem(int argc, char** argv) : argc_(argc), argv_(argv) {}

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
  std::optional<KeyEvent> NextTerminalKey();
  std::optional<KeyEvent> RedrawAfterContinue();
  void DecodeTerminalInput(bool paused);
  void FlushScreen();
  // The terminal in the user's modes while a child runs, the tool's after.
  void HandOverTerminal();
  void TakeBackTerminal();

  const int argc_;
  char** const argv_;
  bool prepared_ = false;
  ControllingTerminal terminal_;
  std::unique_ptr<VtScreen> cells_;  // none: the texts go out as the transcript
  StandardStreams streams_;
  std::unique_ptr<console::TranscriptScreen> transcript_;
  bool keysFromStandardInput_ = false;
  StandardInputLines standardInput_;
  std::deque<KeyEvent> keys_;  // decoded from the terminal, not yet delivered
  int interruptedBy_ = 0;      // the keyboard signal that ended the last child run; 0: none
  StartFailure lastStartFailure_ = StartFailure::kNone;
};

}  // namespace sympack::platform::posix
