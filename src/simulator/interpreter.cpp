#include "simulator/interpreter.h"

#include "platform/platform.h"

namespace sympack::simulator {
namespace {

constexpr std::string_view kTypeCommand = "TYPE ";
constexpr std::u16string_view kInterpreterVariable = u"comspec";
constexpr char16_t kQuote = u'"';
constexpr char16_t kLastTokenEnd = u' ';  // CreateProcess ends a bare token at code 32 or below

bool NeedsQuotes(std::u16string_view path) {
  if (path.find(kQuote) != std::u16string_view::npos) return false;
  for (const char16_t c : path) {
    if (c <= kLastTokenEnd) return true;
  }
  return false;
}

}  // namespace

std::u16string InterpreterPath() {
  if (auto value = platform::EnvironmentVariable(kInterpreterVariable)) return *value;
  return platform::DefaultInterpreter();
}

std::optional<std::u16string> InterpreterCommandLine(std::u16string_view interpreter, std::u16string_view command) {
  if (command.size() > kMaxInterpreterCommand) return std::nullopt;
  std::u16string line;
  if (NeedsQuotes(interpreter)) {
    line = kQuote;
    line += interpreter;
    line += kQuote;
  } else {
    line = interpreter;
  }
  line += kInterpreterSwitches;
  line += command;
  if (line.size() > platform::kMaxCommandLineUnits) return std::nullopt;
  return line;
}

bool FitsInterpreter(std::string_view command) {
  return platform::AnsiToWide(command).size() <= kMaxInterpreterCommand;
}

std::optional<std::uint32_t> RunInterpreter(std::u16string_view interpreter, std::string_view command) {
  const auto line = InterpreterCommandLine(interpreter, platform::AnsiToWide(command));
  if (!line) return std::nullopt;
  return platform::RunProcess(*line);
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
