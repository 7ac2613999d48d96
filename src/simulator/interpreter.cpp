#include "simulator/interpreter.h"

#include "platform/platform.h"

namespace sympack::simulator {
namespace {

constexpr std::string_view kInterpreterSwitch = " /C ";
constexpr std::string_view kTypeCommand = "TYPE ";
constexpr std::u16string_view kInterpreterVariable = u"comspec";

}  // namespace

std::u16string InterpreterPath() {
  if (auto value = platform::EnvironmentVariable(kInterpreterVariable)) return *value;
  return platform::DefaultInterpreter();
}

std::optional<std::uint32_t> RunInterpreter(std::u16string_view interpreter, std::string_view command) {
  std::u16string line(interpreter);
  line += platform::AnsiToWide(kInterpreterSwitch);
  line += platform::AnsiToWide(command);
  if (line.size() > platform::kMaxCommandLineUnits) return std::nullopt;
  return platform::RunProcess(line);
}

std::optional<std::string> ShowFileCommand(std::string_view name, CharacterLength characterLength) {
  const auto argument = InterpreterArgument(name, ArgumentReader::kTypeCommand, characterLength);
  if (!argument) return std::nullopt;
  return std::string(kTypeCommand) + *argument;
}

void ShowFile(std::u16string_view interpreter, std::string_view name) {
  if (const auto command = ShowFileCommand(name, platform::AnsiCharacterLength)) {
    RunInterpreter(interpreter, *command);
  }
}

}  // namespace sympack::simulator
