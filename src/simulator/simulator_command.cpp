#include "simulator/simulator_command.h"

#include "platform/platform.h"
#include "simulator/file_names.h"
#include "simulator/interpreter.h"

namespace sympack::simulator {

std::string SimulatorCommand(std::string_view message, CharacterLength characterLength,
                             std::string_view programPath) {
  const auto argument = InterpreterArgument(message, ArgumentReader::kProgram, characterLength);
  if (!argument) return {};
  std::string command(kSimulatorToken);
  if (!programPath.empty()) {
    const auto program = InterpreterArgument(programPath, ArgumentReader::kProgram, characterLength);
    if (!program) return {};
    command = *program + ' ';
  }
  command += *argument;
  command += kSimulatorParameters;
  command += kRedirection;
  command += kReportFile;
  return command;
}

std::optional<std::string> InstalledSimulatorPath() {
  const auto installed = platform::InstalledSimulator();
  if (!installed) return std::nullopt;
  std::string path = platform::WideToAnsi(*installed);
  if (platform::AnsiToWide(path) != *installed) return std::nullopt;
  return path;
}

std::optional<std::uint32_t> RunSimulator(std::u16string_view interpreter, std::string_view message,
                                          std::string_view programPath) {
  const std::string command = SimulatorCommand(message, platform::AnsiCharacterLength, programPath);
  if (command.empty()) return std::nullopt;
  return RunInterpreter(interpreter, command);
}

}  // namespace sympack::simulator
