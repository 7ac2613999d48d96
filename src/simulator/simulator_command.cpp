#include "simulator/simulator_command.h"

#include "platform/platform.h"
#include "simulator/file_names.h"
#include "simulator/interpreter.h"

namespace sympack::simulator {

std::string SimulatorCommand(std::string_view message, CharacterLength characterLength) {
  const auto argument = InterpreterArgument(message, ArgumentReader::kProgram, characterLength);
  if (!argument) return {};
  std::string command(kSimulatorToken);
  command += *argument;
  command += kSimulatorParameters;
  command += kRedirection;
  command += kReportFile;
  return command;
}

std::optional<std::uint32_t> RunSimulator(std::u16string_view interpreter, std::string_view message) {
  const std::string command = SimulatorCommand(message, platform::AnsiCharacterLength);
  if (command.empty()) return std::nullopt;
  return RunInterpreter(interpreter, command);
}

}  // namespace sympack::simulator
