#include "run/run_tool.h"

#include "run/exit_codes.h"
#include "run/messages.h"
#include "platform/platform.h"
#include "simulator/command_tail.h"
#include "simulator/file_names.h"
#include "simulator/files.h"
#include "simulator/interpreter.h"
#include "simulator/simulator_command.h"
#include "simulator/upper_case.h"

namespace sympack::run {
namespace {

using console::Console;
namespace sim = simulator;

void ShowBanner(Console& console) {
  console.EndLine();
  console.EndLine();
  console.WriteLine(kBannerLine);
  console.SetTextColor(console::kDarkGrey);
  console.WriteLine(kSimulatorLine);
  console.SetTextColor(console::kLightGrey);
  console.EndLine();
}

// A tail of nothing but a pair of quotes gives no message: the run asks.
std::string TakeMessage(Console& console, std::string_view commandTail) {
  if (std::string message = sim::MessageFromTail(commandTail); !message.empty()) return message;
  console.WriteText(kMessagePrompt);
  return console.ReadLine();
}

// A report left by an earlier run must never pass for this run's: remove it
// first. False when it is still there.
bool ClearOldReport() {
  sim::DeleteFiles(sim::kReportFile);
  return !sim::FileIsPresent(sim::kReportFile);
}

std::string TakeDestination(Console& console) {
  console.WriteText(kDestinationPrompt);
  std::string destination = console.ReadField();
  if (destination.empty()) destination = sim::kDefaultDestination;
  return destination;
}

}  // namespace

int RunTool(Console& console, std::string_view commandTail) {
  ShowBanner(console);

  if (!sim::FileIsPresent(sim::kSimulatorProgram)) {
    console.SetTextColor(console::kLightRed);
    console.WriteLine(kSimulatorMissingLine);
    console.SetTextColor(console::kLightGrey);
    console.WriteLine(kDownloadHintLine);
    return kExitSimulatorMissing;
  }

  std::string message = TakeMessage(console, commandTail);
  if (message.empty()) return kExitOk;  // the user chose to stop

  message = sim::UpperCase(message, platform::AnsiIsSingleByte());
  const std::u16string interpreter = sim::InterpreterPath();

  const bool ran = ClearOldReport() && sim::RunSimulator(interpreter, message);
  if (!ran || !sim::FileIsPresent(sim::kReportFile)) {
    console.WriteLine(kNoReportLine);
    return kExitNoReport;
  }

  console.EndLine();
  console.EndLine();
  console.SetTextColor(console::kDarkYellow);
  sim::ShowFile(interpreter, sim::kReportFile);
  console.SetTextColor(console::kLightGrey);

  const std::string destination = TakeDestination(console);
  return CompleteRun(console, interpreter, message, destination);
}

}  // namespace sympack::run
