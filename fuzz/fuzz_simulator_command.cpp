// Any bytes (without NUL, which no command line can carry) as a message for
// the simulator and as a file name for TYPE, under a single-byte and under
// the UTF-8 code page, through the command builder and back through our
// interpreter's reading of it: percent expansion in an environment where
// every name that could form is defined with a value that would chain a
// command, then quotes, carets and redirection. The simulator's arguments
// must be exactly the message and the fixed parameters, its output must go
// into exactly the report file, TYPE must get exactly the one name, and the
// interpreter must never refuse (nothing is chained, piped or redirected).
// A text that needs no care must give the plain command line byte for byte.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_parser.h"
#include "fuzz_check.h"
#include "simulator/file_names.h"
#include "simulator/interpreter.h"
#include "simulator/simulator_command.h"
#include "text/utf.h"

namespace {

// The fixed texts written out here rather than taken from the builder's
// header, so that a change there is caught too.
constexpr std::string_view kProgram = "FST4SIM";
constexpr std::string_view kParameters = " 120  1500 0.0   0 0 0 0 F";
using sympack::simulator::kReportFile;
const std::vector<std::string> kParameterWords = {"120", "1500", "0.0", "0", "0", "0", "0", "F"};

// Only a name that begins with a caret is not defined.
std::optional<std::string> EveryNameDefined(std::string_view name) {
  if (!name.empty() && name.front() == '^') return std::nullopt;
  return std::string("&DEL FST4SIM.EXE&");
}

void CheckMessage(const std::string& message, sympack::simulator::CharacterLength length) {
  const std::string command = sympack::simulator::SimulatorCommand(message, length);
  const auto reading = sympack::cmd::ReadCommand(command, EveryNameDefined);
  FUZZ_CHECK(!reading.parsed.refused, "the interpreter refuses the command");
  FUZZ_CHECK(reading.parsed.output && *reading.parsed.output == kReportFile, "the output is not the report file");
  FUZZ_CHECK(!reading.parsed.append, "the report is appended to");
  FUZZ_CHECK(reading.name == kProgram, "another program runs");
  std::vector<std::string> expected{message};
  expected.insert(expected.end(), kParameterWords.begin(), kParameterWords.end());
  FUZZ_CHECK(sympack::cmd::SplitArguments(reading.arguments) == expected,
             "the simulator's arguments are not the message and the parameters");
  if (message.find_first_of("\"%") == std::string::npos && (message.empty() || message.back() != '\\')) {
    FUZZ_CHECK(command == std::string(kProgram) + " \"" + message + "\"" + std::string(kParameters) + " > " +
                              std::string(kReportFile),
               "a message that needs no care is not written byte for byte");
  }
}

void CheckName(const std::string& name, sympack::simulator::CharacterLength length) {
  const auto command = sympack::simulator::ShowFileCommand(name, length);
  if (name.empty() || name.find('"') != std::string::npos) {
    FUZZ_CHECK(!command, "a name TYPE cannot get exactly is shown");
    return;
  }
  FUZZ_CHECK(command.has_value(), "a name TYPE can get is not shown");
  const auto reading = sympack::cmd::ReadCommand(*command, EveryNameDefined);
  FUZZ_CHECK(!reading.parsed.refused, "the interpreter refuses TYPE");
  FUZZ_CHECK(!reading.parsed.output, "TYPE's output is redirected");
  FUZZ_CHECK(reading.name == "TYPE", "something other than TYPE runs");
  FUZZ_CHECK(sympack::cmd::SplitTypeNames(reading.arguments) == std::vector<std::string>{name},
             "TYPE does not get exactly the one name");
  if (name.find_first_of(" \t,;=&|<>()^%") == std::string::npos) {
    FUZZ_CHECK(*command == "TYPE " + name, "a name that needs no care is not written byte for byte");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (text.find('\0') != std::string::npos) return 0;
  for (const auto length : {sympack::text::SingleByteCharacterLength, sympack::text::Utf8CharacterLength}) {
    CheckMessage(text, length);
    CheckName(text, length);
  }
  return 0;
}
