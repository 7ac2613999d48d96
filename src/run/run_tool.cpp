#include "run/run_tool.h"

#include <optional>

#include "run/complete_run.h"
#include "run/exit_codes.h"
#include "run/messages.h"
#include "command/command_tail.h"
#include "report/file_names.h"
#include "report/files.h"
#include "command/interpreter.h"
#include "command/simulator_command.h"
#include "command/upper_case.h"

namespace sympack::run {
namespace {

using console::Console;

void ShowBanner(Console& console) {
  console.EndLine();
  console.EndLine();
  console.WriteLine(kBannerLine);
  console.SetTextColor(console::kDarkGrey);
  console.WriteLine(kSimulatorLine);
  console.SetTextColor(console::kLightGrey);
  console.EndLine();
}

// What the user gave as the message: the command tail's, else the line
// typed at the prompt (a tail of nothing but a pair of quotes gives none:
// the run asks). Still in UTF-16, as the system gave it; empty when the
// keyboard went away at the prompt.
std::optional<std::u16string> TakeMessage(Console& console, std::u16string_view commandTail) {
  if (std::u16string message = command::MessageFromTail(commandTail); !message.empty()) return message;
  console.WriteText(kMessagePrompt);
  return console.ReadLine();
}

// A report left by an earlier run must never pass for this run's: remove it
// first. False when something still stands under its name (a file that
// cannot be deleted, a folder, a pipe): the interpreter could not write the
// report there, or would wait on it.
bool ClearOldReport(platform::System& system) {
  report::RemoveFile(system, report::kReportFile);
  return !report::NameIsTaken(system, report::kReportFile);
}

// A message no command line carries exactly, or whose command cmd.exe would
// not take whole, is refused before anything runs. The exit code then.
std::optional<int> RefuseMessage(Console& console, platform::System& system, std::string_view message,
                                 std::string_view simulatorPath, command::SymbolForm form) {
  if (command::HoldsControlCharacter(message)) {
    WriteFailure(console, kControlCharacterLine);
    return kExitControlCharacter;
  }
  const auto characterLength = [&system](std::string_view text) { return system.AnsiCharacterLength(text); };
  if (!command::FitsInterpreter(system, command::SimulatorCommand(message, characterLength, simulatorPath, form))) {
    WriteFailure(console, kCommandTooLongLine);
    return kExitCommandTooLong;
  }
  return std::nullopt;
}

// Why the simulator run left no report, in the light red line after
// kNoReportLine: no interpreter, one that could not be started, a folder
// that refuses the report, or an interpreter that ran and made none.
std::string NoReportReason(platform::System& system, std::u16string_view interpreter, bool started) {
  if (interpreter.empty()) return std::string(kNoInterpreterLine);
  const std::string named = std::string(kInterpreterBefore) + system.WideToAnsi(interpreter);
  if (!started) {
    switch (system.LastStartFailure()) {
      case platform::StartFailure::kNotFound: return named + std::string(kInterpreterNotFoundAfter);
      case platform::StartFailure::kNotRunnable: return named + std::string(kInterpreterNotRunnableAfter);
      case platform::StartFailure::kNone: return named + std::string(kInterpreterTooLongAfter);
    }
  }
  if (report::FolderRefusesNewFile(system, report::kReportFile)) return std::string(kReportFolderRefusesLine);
  return named + std::string(kInterpreterMadeNoReportAfter);
}

}  // namespace

int RunTool(platform::System& system, std::u16string_view commandTail) {
  Console console(system);
  ShowBanner(console);

  // Two runs in one folder would share the report file and delete each
  // other's: the second one stops before it touches anything.
  if (!system.ClaimCurrentFolder()) {
    WriteFailure(console, kFolderBusyLine);
    return kExitFolderBusy;
  }

  // The folder's own simulator comes first; else the one installed with the
  // tool, said by its path.
  std::string simulatorPath;
  if (!report::FileIsPresent(system, report::kSimulatorProgram)) {
    const auto installed = command::InstalledSimulatorPath(system);
    if (!installed) {
      WriteFailure(console, kSimulatorMissingLine);
      console.WriteLine(kDownloadHintLine);
      return kExitSimulatorMissing;
    }
    simulatorPath = *installed;
    console.WriteLine(std::string(kInstalledSimulatorLine) + simulatorPath);
  }

  // `> FST4TEMP.TXT`: removing the old report would throw the transcript
  // away, and the report would be read back mixed with it.
  if (report::NameIsRunOutput(system, report::kReportFile)) {
    WriteFailure(console, std::string(report::kReportFile) + std::string(kIsRunOutputAfter));
    return kExitOldReportStays;
  }

  // --fst4w before the message asks the simulator for the FST4W form.
  const command::FormRequest request = command::FormFromTail(commandTail);
  const auto given = TakeMessage(console, request.rest);
  if (!given) return kExitKeyboardLost;  // nothing ran yet, nothing to remove
  if (given->empty()) return kExitOk;    // the user chose to stop
  // Held by the code page as it is, or not sent: a look-alike or the
  // default character would go on the air in its place.
  const auto inCodePage = system.WideToAnsiExactly(*given);
  if (!inCodePage) {
    WriteFailure(console, kNotInCodePageLine);
    return kExitControlCharacter;
  }
  const std::string message = command::UpperCase(
      *inCodePage, [&system](std::string_view text) { return system.AnsiCharacterLength(text); },
      system.AnsiIsSingleByte());
  if (const auto refused = RefuseMessage(console, system, message, simulatorPath, request.form)) return *refused;
  const std::u16string interpreter = command::InterpreterPath(system);

  if (!ClearOldReport(system)) {
    WriteFailure(console, kOldReportLine);
    return kExitOldReportStays;
  }
  // Only an audio file that appears during this run is the simulator's to
  // remove; one that was there already may be the user's own recording, or
  // the user's link to one (looked at as the link, dangling or not).
  SimulatorRunFacts simulatorRun;
  simulatorRun.audioFileWasThere = report::NameIsTaken(system, report::kAudioFile);
  report::RemoveIfRunEndsAbnormally(system, report::kReportFile);
  const auto exitCode = command::RunSimulator(system, interpreter, message, simulatorPath, request.form);
  if (system.ProcessWasInterrupted()) return EndInterrupted(console, system, simulatorRun);
  if (!exitCode || !report::FileIsPresent(system, report::kReportFile)) {
    console.WriteLine(kNoReportLine);
    WriteFailure(console, NoReportReason(system, interpreter, exitCode.has_value()));
    return kExitNoReport;
  }
  simulatorRun.exitCode = *exitCode;

  console.EndLine();
  console.EndLine();
  console.SetTextColor(console::kDarkYellow);
  command::ShowFile(system, interpreter, report::kReportFile);
  console.SetTextColor(console::kLightGrey);
  if (system.ProcessWasInterrupted()) return EndInterrupted(console, system, simulatorRun);

  // A report that rules out any include file ends the run before anything
  // is asked.
  const ReportFacts report = ReadReport(console, system, simulatorRun);
  if (report.refusedExitCode) return *report.refusedExitCode;
  console.WriteText(kDestinationPrompt);
  const auto destinationLine = console.ReadLine();
  return CompleteRun(console, system, interpreter, message, destinationLine, report, simulatorRun);
}

}  // namespace sympack::run
