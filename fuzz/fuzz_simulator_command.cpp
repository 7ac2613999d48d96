// Any bytes as a message for the simulator and as a file name for TYPE, in
// Windows-1252, UTF-8 and the double-byte code page 932 (texts the system
// could hand the tool there), through the command builder and back the way
// Windows runs it (tests/unit/interpreter_model.h): CreateProcess's first
// token, the interpreter's switches with the registry's DelayedExpansion and
// AutoRun set, percent expansion in an environment where every name that
// could form is defined with a value that would chain a command, the removal
// of carriage returns, quotes, carets, redirection and line feeds, delayed
// expansion where it is on, then the C runtime or TYPE. The simulator's
// arguments must be exactly the message and the fixed parameters, its output
// must go into exactly the report file, TYPE must get exactly the one name,
// and the interpreter must never refuse (nothing is chained, piped or
// redirected). A text with a control character gives no command at all; one
// that needs no care gives the plain command line byte for byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "interpreter_model.h"
#include "report/file_names.h"
#include "command/interpreter.h"
#include "command/simulator_command.h"

namespace {

// The fixed texts written out here rather than taken from the builder's
// header, so that a change there is caught too.
constexpr std::string_view kProgram = "FST4SIM.EXE";  // by its full name: no FST4SIM.COM runs in its place
constexpr std::string_view kParameters = " 120  1500 0.0   0 0 0 0 F";
using sympack::report::kReportFile;
const std::vector<std::string> kParameterWords = {"120", "1500", "0.0", "0", "0", "0", "0", "F"};

bool HoldsControl(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  }
  return false;
}

void CheckRun(const sympack::testing::WindowsRun& run) {
  FUZZ_CHECK(run.program == sympack::testing::kInterpreterWithBlank, "another program starts as the interpreter");
  FUZZ_CHECK(run.switchesRead, "the interpreter does not take its switches");
  FUZZ_CHECK(!run.autoRunRuns, "the registry's AutoRun command runs first");
  FUZZ_CHECK(!run.reading.parsed.refused, "the interpreter refuses the command");
}

void CheckMessage(const std::string& message, const sympack::testing::CodePageModel& codePage) {
  const std::string command = sympack::command::SimulatorCommand(message, codePage.characterLength);
  if (HoldsControl(message)) {
    FUZZ_CHECK(command.empty(), "a command carries a control character");
    return;
  }
  const auto run = sympack::testing::RunAsWindows(command, codePage);
  CheckRun(run);
  FUZZ_CHECK(run.reading.parsed.output && *run.reading.parsed.output == kReportFile,
             "the output is not the report file");
  FUZZ_CHECK(!run.reading.parsed.append, "the report is appended to");
  FUZZ_CHECK(run.reading.name == kProgram, "another program runs");
  std::vector<std::string> expected{message};
  expected.insert(expected.end(), kParameterWords.begin(), kParameterWords.end());
  FUZZ_CHECK(run.words == expected, "the simulator's arguments are not the message and the parameters");
  if (message.find_first_of("\"%") == std::string::npos && (message.empty() || message.back() != '\\')) {
    FUZZ_CHECK(command == std::string(kProgram) + " \"" + message + "\"" + std::string(kParameters) + " > " +
                              std::string(kReportFile),
               "a message that needs no care is not written byte for byte");
  }
}

void CheckName(const std::string& name, const sympack::testing::CodePageModel& codePage) {
  const auto command = sympack::command::ShowFileCommand(name, codePage.characterLength);
  if (name.empty() || name.find('"') != std::string::npos || HoldsControl(name)) {
    FUZZ_CHECK(!command, "a name TYPE cannot get exactly is shown");
    return;
  }
  FUZZ_CHECK(command.has_value(), "a name TYPE can get is not shown");
  const auto run = sympack::testing::RunAsWindows(*command, codePage);
  CheckRun(run);
  FUZZ_CHECK(!run.reading.parsed.output, "TYPE's output is redirected");
  FUZZ_CHECK(run.reading.name == "TYPE", "something other than TYPE runs");
  FUZZ_CHECK(run.words == std::vector<std::string>{name}, "TYPE does not get exactly the one name");
  if (name.find_first_of(" \t,;=&|<>()^%") == std::string::npos) {
    FUZZ_CHECK(*command == "TYPE " + name, "a name that needs no care is not written byte for byte");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const auto& codePage : sympack::testing::kCodePages) {
    if (!codePage.isText(text)) continue;
    CheckMessage(text, codePage);
    CheckName(text, codePage);
  }
  return 0;
}
