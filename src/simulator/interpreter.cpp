#include "simulator/interpreter.h"

#include "platform/platform.h"

namespace sympack::simulator {
namespace {

constexpr std::string_view kInterpreterSwitch = " /C ";
constexpr std::string_view kTypeCommand = "TYPE ";
constexpr std::u16string_view kInterpreterVariable = u"comspec";

}  // namespace

std::string InterpreterPath() {
  if (auto value = platform::EnvironmentVariable(kInterpreterVariable)) {
    return platform::WideToAnsi(*value);
  }
  return platform::WideToAnsi(platform::DefaultInterpreter());
}

std::optional<std::uint32_t> RunInterpreter(std::string_view interpreter, std::string_view command) {
  std::string line(interpreter);
  line += kInterpreterSwitch;
  line += command;
  const std::u16string wide = platform::AnsiToWide(line);
  if (wide.size() > platform::kMaxCommandLineUnits) return std::nullopt;
  return platform::RunProcess(wide);
}

void ShowFile(std::string_view interpreter, std::string_view name) {
  std::string command(kTypeCommand);
  command += name;
  RunInterpreter(interpreter, command);
}

}  // namespace sympack::simulator
