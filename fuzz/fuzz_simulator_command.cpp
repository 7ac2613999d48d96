// Any message bytes (without NUL, which no command line can carry) through
// the simulator command builder and back through our interpreter's parser.
// The parsed command must not be refused, must redirect into exactly the
// report file (not appending), and must read, with the escapes removed,
// exactly as the plain command line carries it: FST4SIM, the message in
// double quotes, the fixed parameters; nothing else. Its first word must be
// the simulator.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "command_parser.h"
#include "fuzz_check.h"
#include "simulator/file_names.h"
#include "simulator/simulator_command.h"

namespace {

// The fixed texts written out here rather than taken from the builder's
// header, so that a change there is caught too.
constexpr std::string_view kProgram = "FST4SIM";
constexpr std::string_view kParameters = " 120  1500 0.0   0 0 0 0 F";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view message(reinterpret_cast<const char*>(data), size);
  if (message.find('\0') != std::string_view::npos) return 0;

  const std::string command = sympack::simulator::SimulatorCommand(message);
  const auto parsed = sympack::cmd::ParseCommand(command);

  FUZZ_CHECK(!parsed.refused, "the interpreter refuses the command");
  FUZZ_CHECK(parsed.output && *parsed.output == sympack::simulator::kReportFile, "the output is not the report file");
  FUZZ_CHECK(!parsed.append, "the report is appended to");
  const std::string plain = std::string(kProgram) + " \"" + std::string(message) + "\"" +
                            std::string(kParameters);
  FUZZ_CHECK(parsed.text == plain, "the command reads other than the plain command line");

  std::string_view rest;
  FUZZ_CHECK(sympack::cmd::FirstWord(parsed.text, rest) == kProgram, "another program runs");
  return 0;
}
