#include "simulator/simulator_command.h"

#include "simulator/interpreter.h"

namespace sympack::simulator {
namespace {

constexpr char kQuote = '"';
constexpr char kEscape = '^';

// Characters the interpreter acts on when they stand outside double quotes.
bool IsInterpreterSyntax(char c) {
  switch (c) {
    case '&': case '|': case '<': case '>': case '^': case '(': case ')':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string SimulatorCommand(std::string_view message) {
  std::string command(kSimulatorToken);
  command.reserve(command.size() + message.size() * 2 + 64);
  command += kQuote;
  bool insideQuotes = true;  // the interpreter's view, tracked byte by byte
  for (const char c : message) {
    if (c == kQuote) {
      insideQuotes = !insideQuotes;
    } else if (!insideQuotes && IsInterpreterSyntax(c)) {
      command += kEscape;
    }
    command += c;
  }
  // An escaped quote reaches the program without reopening quotes, so the
  // parameters and the redirection keep their meaning.
  if (!insideQuotes) command += kEscape;
  command += kQuote;
  command += kSimulatorParameters;
  command += kReportRedirection;
  return command;
}

bool RunSimulator(std::string_view interpreter, std::string_view message) {
  return RunInterpreter(interpreter, SimulatorCommand(message));
}

}  // namespace sympack::simulator
