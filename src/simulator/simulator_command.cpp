#include "simulator/simulator_command.h"

#include "simulator/interpreter.h"

namespace sympack::simulator {
namespace {

constexpr char kQuote = '"';
constexpr char kPercent = '%';
constexpr char kEscape = '^';

// Characters the interpreter acts on when they stand outside its quotes;
// the percent sign it acts on inside them too.
bool IsInterpreterSyntax(char c) {
  switch (c) {
    case '"': case '&': case '|': case '<': case '>': case '^': case '(': case ')':
    case '%': case '!':
      return true;
    default:
      return false;
  }
}

bool NeedsEscaping(std::string_view message) {
  constexpr char kTriggers[] = {kQuote, kPercent, '\0'};
  return message.find_first_of(kTriggers) != std::string_view::npos;
}

void AppendEscaped(std::string& command, std::string_view message) {
  command += kEscape;
  command += kQuote;
  for (const char c : message) {
    if (IsInterpreterSyntax(c)) command += kEscape;
    command += c;
  }
  command += kEscape;
  command += kQuote;
}

}  // namespace

std::string SimulatorCommand(std::string_view message) {
  std::string command(kSimulatorToken);
  command.reserve(command.size() + message.size() * 2 + 64);
  if (NeedsEscaping(message)) {
    AppendEscaped(command, message);
  } else {
    command += kQuote;
    command += message;
    command += kQuote;
  }
  command += kSimulatorParameters;
  command += kReportRedirection;
  return command;
}

std::optional<std::uint32_t> RunSimulator(std::string_view interpreter, std::string_view message) {
  return RunInterpreter(interpreter, SimulatorCommand(message));
}

}  // namespace sympack::simulator
