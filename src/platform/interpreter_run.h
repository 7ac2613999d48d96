// The interpreter run: what the run needs to start the simulator's command
// through the command interpreter: the tool's own command tail, the
// environment, the simulator installed with the tool, starting and waiting
// for a command line, and how that ended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace sympack::platform {

class InterpreterRun {
 public:
  virtual ~InterpreterRun() = default;
  // The text after the program name on the process command line, exactly as
  // given. Windows: the tail rules applied to GetCommandLineW(); POSIX: the
  // arguments joined with one blank.
  virtual std::u16string CommandTail() = 0;
  // One environment variable, looked up without regard to letter case
  // (GetEnvironmentVariableW); empty when it is not set.
  virtual std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) = 0;
  // The command interpreter to use when "comspec" is not set. Windows: none
  // (empty); POSIX: our own interpreter program, installed beside the tool.
  virtual std::u16string DefaultInterpreter() = 0;
  // The simulator installed with the tool, for a folder that has none of its
  // own. POSIX: <prefix>/libexec/sympack/FST4SIM.EXE, found from the folder
  // of the running program (<prefix>/bin), so any prefix works, when it is
  // an executable file. Windows: FST4SIM.EXE in the folder of the running
  // SYMPACK.EXE (the zip holds both programs in one folder), when it is a
  // file.
  virtual std::optional<std::u16string> InstalledSimulator() = 0;
  // Starts the command line (the program is its first token, as
  // CreateProcessW takes it with no separate program name) in this console,
  // with this environment and directory, and waits for it to end without a
  // time limit. The exit code, or empty when the process could not be
  // started. While it runs the console is handed over in its normal modes.
  virtual std::optional<std::uint32_t> RunProcess(std::u16string_view commandLine) = 0;
  // True when the user interrupted the last RunProcess from the keyboard
  // while it ran (POSIX: Ctrl+C or Ctrl+\, SIGINT or SIGQUIT; Windows:
  // Ctrl+C or Ctrl+Break): the process and what it started have ended. The
  // run then ends too (HostSystem::EndInterrupted).
  virtual bool ProcessWasInterrupted() = 0;
  // Why the last RunProcess started nothing; kNone after one that started.
  virtual StartFailure LastStartFailure() = 0;
};

}  // namespace sympack::platform
