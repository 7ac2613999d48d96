#include "command/interpreter.h"

#include "platform/system.h"

namespace sympack::command {
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

bool StartsWithQuote(std::u16string_view command) { return !command.empty() && command.front() == kQuote; }

// The text after /C: the command, or the command in one more pair of quotes.
std::u16string AfterSwitch(std::u16string_view command) {
  if (!StartsWithQuote(command)) return std::u16string(command);
  std::u16string wrapped(1, kQuote);
  wrapped += command;
  wrapped += kQuote;
  return wrapped;
}

}  // namespace

std::u16string InterpreterPath(platform::InterpreterRun& system) {
  if (auto value = system.EnvironmentVariable(kInterpreterVariable)) return *value;
  return system.DefaultInterpreter();
}

std::optional<std::u16string> InterpreterCommandLine(std::u16string_view interpreter, std::u16string_view command) {
  const std::u16string afterSwitch = AfterSwitch(command);
  if (afterSwitch.size() > kMaxInterpreterCommand) return std::nullopt;
  std::u16string line;
  if (NeedsQuotes(interpreter)) {
    line = kQuote;
    line += interpreter;
    line += kQuote;
  } else {
    line = interpreter;
  }
  line += StartsWithQuote(command) ? kInterpreterSwitchesQuoted : kInterpreterSwitches;
  line += afterSwitch;
  if (line.size() > platform::kMaxCommandLineUnits) return std::nullopt;
  return line;
}

bool FitsInterpreter(text::CodePage& system, std::string_view command) {
  return AfterSwitch(system.AnsiToWide(command)).size() <= kMaxInterpreterCommand;
}

std::optional<std::uint32_t> RunInterpreter(platform::System& system, std::u16string_view interpreter, std::string_view command) {
  // No interpreter named: the line would start with its switches, and the
  // system would take whatever its first word names for a program.
  if (interpreter.empty()) return std::nullopt;
  const auto line = InterpreterCommandLine(interpreter, system.AnsiToWide(command));
  if (!line) return std::nullopt;
  return system.RunProcess(*line);
}

std::optional<std::string> ShowFileCommand(std::string_view name, CharacterLength characterLength) {
  const auto argument = InterpreterArgument(name, ArgumentReader::kTypeCommand, characterLength);
  if (!argument) return std::nullopt;
  return std::string(kTypeCommand) + *argument;
}

void ShowFile(platform::System& system, std::u16string_view interpreter, std::string_view name) {
  const auto characterLength = [&system](std::string_view text) { return system.AnsiCharacterLength(text); };
  if (const auto command = ShowFileCommand(name, characterLength)) {
    RunInterpreter(system, interpreter, *command);
  }
}

}  // namespace sympack::command
