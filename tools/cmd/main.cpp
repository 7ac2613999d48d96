// sympack-cmd: the command interpreter that stands in on POSIX systems for the
// one Windows names in "comspec". It takes cmd.exe's switches (/D, /V:ON,
// /V:OFF, /S ...) and reads one command given after /C as cmd.exe does
// (percent expansion, carriage returns removed, then quotes, carets and
// redirection, a line feed ending the command; delayed expansion when it is
// on) and runs TYPE with file names, or a program looked up as cmd.exe looks
// it up (the current folder, then PATH; only files with an executable
// extension), with > redirection. Redirected program output gets CR LF line
// ends, the text convention of the platform it stands in for.
//
// The registry settings cmd.exe reads, which a POSIX system has not, come
// from the environment: SYMPACK_CMD_DELAYED_EXPANSION=1 stands for
// DelayedExpansion = 1 (delayed expansion unless /V:OFF), and
// SYMPACK_CMD_AUTORUN for the AutoRun command (run first unless /D).
#include <signal.h>
#include <unistd.h>

#include <optional>
#include <string>

#include "cmd_output.h"
#include "command/interpreter_rules.h"
#include "command_parser.h"
#include "interpreter_switches.h"
#include "platform/environment_block.h"
#include "platform/posix/process.h"
#include "run_program.h"
#include "text/ascii_case.h"
#include "text/utf.h"
#include "type_files.h"

extern char** environ;

namespace {

using namespace sympack;
using namespace sympack::cmd;

constexpr int kExitRefused = 1;
constexpr int kExitNotFound = 127;
constexpr char kDelayedExpansionVariable[] = "SYMPACK_CMD_DELAYED_EXPANSION";
constexpr char kAutoRunVariable[] = "SYMPACK_CMD_AUTORUN";
constexpr std::string_view kType = "TYPE";

// An environment variable by name, in any letter case, as cmd.exe finds it.
std::optional<std::string> Variable(std::string_view name) { return platform::FindVariable(environ, name); }

std::string FindProgram(const std::string& name) { return cmd::FindProgram(name, Variable); }

int RunCommand(std::string_view command, bool delayedExpansion) {
  if (text::Utf8ToUtf16(command).size() > command::kMaxInterpreterCommand) {
    Complain("The command line is too long.\n");
    return kExitRefused;
  }
  const auto reading = ReadCommand(command, Variable, delayedExpansion);
  const auto& parsed = reading.parsed;
  if (parsed.refused) {
    Complain(std::string("sympack-cmd: '") + *parsed.refused +
             "' (command chaining, pipes, input redirection or blocks) is not supported; nothing was run.\n");
    return kExitRefused;
  }
  // As the Windows interpreter does, the redirection target is created before
  // the command is looked for.
  const int out = OpenOutput(parsed);
  if (out < 0) return kExitRefused;
  const std::string& name = reading.name;
  const std::string_view rest = reading.arguments;
  int status = 0;
  if (text::EqualsIgnoringAsciiCase(name, kType)) {
    status = TypeFiles(rest, out);
  } else if (const std::string program = FindProgram(name); !program.empty()) {
    status = RunProgram(program, rest, out);
  } else if (!name.empty()) {
    Complain("'" + name + "' is not recognized as an internal or external command,\n"
             "operable program or batch file.\n");
    status = kExitNotFound;
  }
  if (out != STDOUT_FILENO) close(out);
  return status;
}

// Ended from outside (the tool forwards every signal that ends it here, and
// Ctrl+C or Ctrl+\ reach it from the terminal), the interpreter takes the
// program it runs with it, as a job's end would: nothing keeps running, or
// writing the report, after the run has ended.
void EndWithProgram(int signalNumber) {
  platform::posix::EndRunningChild(signalNumber, platform::posix::kProgramEndGraceMilliseconds);
  platform::posix::RaiseByDefault(signalNumber);
}

void EndProgramWithInterpreter() {
  struct sigaction action {};
  action.sa_handler = EndWithProgram;
  sigemptyset(&action.sa_mask);
  for (const int s : platform::posix::kEndingSignals) sigaddset(&action.sa_mask, s);
  for (const int s : platform::posix::kKeyboardSignals) sigaddset(&action.sa_mask, s);
  for (const int s : platform::posix::kEndingSignals) sigaction(s, &action, nullptr);
  for (const int s : platform::posix::kKeyboardSignals) sigaction(s, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  EndProgramWithInterpreter();
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  const auto interpreterLine = ReadInterpreterLine(line);
  if (!interpreterLine) {
    Complain("usage: sympack-cmd [/D] [/V:ON|/V:OFF] [/S] [/Q] /C command\n"
             "  command: TYPE name...  or  program [arguments] [> file]\n");
    return kExitRefused;
  }
  const bool delayedExpansion =
      interpreterLine->delayedExpansion.value_or(Variable(kDelayedExpansionVariable) == "1");
  const std::string autoRun = Variable(kAutoRunVariable).value_or("");
  if (interpreterLine->autoRun && !autoRun.empty()) RunCommand(autoRun, delayedExpansion);
  const std::string command = CommandAfterQuoteRule(
      *interpreterLine, [](std::string_view name) { return !FindProgram(std::string(name)).empty(); });
  return RunCommand(command, delayedExpansion);
}
