#include "command/simulator_command.h"

#include "platform/system.h"
#include "report/file_names.h"
#include "command/interpreter.h"

namespace sympack::command {

std::string SimulatorCommand(std::string_view message, CharacterLength characterLength,
                             std::string_view programPath, SymbolForm form) {
  const auto argument = InterpreterArgument(message, ArgumentReader::kProgram, characterLength);
  if (!argument) return {};
  std::string command(kSimulatorToken);
  if (!programPath.empty()) {
    const auto program = InterpreterArgument(programPath, ArgumentReader::kProgram, characterLength);
    if (!program) return {};
    command = *program + ' ';
  }
  command += *argument;
  command += form == SymbolForm::kFst4w ? kSimulatorParametersFst4w : kSimulatorParameters;
  command += kRedirection;
  command += report::kReportFile;
  return command;
}

std::optional<std::string> InstalledSimulatorPath(platform::System& system) {
  const auto installed = system.InstalledSimulator();
  if (!installed) return std::nullopt;
  return system.WideToAnsiExactly(*installed);
}

std::optional<std::uint32_t> RunSimulator(platform::System& system, std::u16string_view interpreter, std::string_view message,
                                          std::string_view programPath, SymbolForm form) {
  const std::string command = SimulatorCommand(
      message, [&system](std::string_view text) { return system.AnsiCharacterLength(text); }, programPath, form);
  if (command.empty()) return std::nullopt;
  return RunInterpreter(system, interpreter, command);
}

}  // namespace sympack::command
