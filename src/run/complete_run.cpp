#include "encoder/delivery.h"
#include "encoder/include_text.h"
#include "run/exit_codes.h"
#include "run/messages.h"
#include "run/run_tool.h"
#include "simulator/destination_guard.h"
#include "simulator/file_names.h"
#include "simulator/files.h"
#include "simulator/interpreter.h"
#include "simulator/report_reader.h"

namespace sympack::run {
namespace {

using console::Console;
namespace sim = simulator;

std::string OutcomeLine(std::string_view destination, bool written, bool copied,
                        std::uint32_t simulatorExitCode) {
  std::string line(written ? kWrittenTo : kNotWrittenTo);
  line += destination;
  if (written) {
    line += copied ? kCopied : kButNotCopied;
  } else {
    line += copied ? kCopiedAnyway : kNotCopied;
  }
  if (simulatorExitCode != 0) {
    line += kSimulatorFailedBefore;
    line += std::to_string(simulatorExitCode);
    line += kSimulatorFailedAfter;
  }
  return line;
}

// Removes what this run made and nothing else: the report, unless the include
// file was written over it; the audio file only when it appeared during this
// run, and not when it is the include file now.
void CleanUp(std::string_view destination, bool includeWritten, const SimulatorRun& simulatorRun) {
  const auto isIncludeFile = [&](std::string_view name) {
    return includeWritten && sim::NamesSameFile(destination, name);
  };
  if (!isIncludeFile(sim::kReportFile)) sim::DeleteFiles(sim::kReportFile);
  if (!simulatorRun.audioFileWasThere && sim::FileIsPresent(sim::kAudioFile) &&
      !isIncludeFile(sim::kAudioFile)) {
    sim::DeleteFiles(sim::kAudioFile);
  }
}

int ExitCode(bool written, const SimulatorRun& simulatorRun) {
  if (!written) return kExitNotWritten;
  return simulatorRun.exitCode == 0 ? kExitOk : kExitSimulatorFailed;
}

}  // namespace

int CompleteRun(Console& console, std::u16string_view interpreter, std::string_view messageText,
                std::string_view destinationName, const SimulatorRun& simulatorRun) {
  const auto symbolText = sim::ReadSymbolText();
  if (!symbolText) {
    console.SetTextColor(console::kLightRed);
    console.WriteLine(kNoListingLine);
    console.SetTextColor(console::kLightGrey);
    CleanUp(destinationName, false, simulatorRun);
    console.Pause(kFinalPauseMilliseconds);
    return kExitNoListing;
  }

  const std::string includeText = encoder::BuildIncludeText(*symbolText, messageText, destinationName);
  // Written over the report, the include file must outlive any way out.
  if (sim::NamesSameFile(destinationName, sim::kReportFile)) sim::RemoveIfRunEndsAbnormally({});
  // Never over the simulator or a stand-in cmd.exe would run for it (every
  // later run would fail), nor into the run's own output (TYPE would copy the
  // file into itself without end).
  encoder::IncludeFileWrite write;
  if (!sim::DestinationIsRefused(destinationName)) {
    write = encoder::WriteIncludeFile(destinationName, includeText);
  }
  const bool written = write.complete;
  // Only a disk file written in full is shown: an old text, a device that
  // would wait for the keyboard or a file that was never written is not.
  if (written && write.diskFile) sim::ShowFile(interpreter, destinationName);
  const bool copied = encoder::CopyTextToClipboard(includeText);

  const int exitCode = ExitCode(written, simulatorRun);
  console.SetTextColor(exitCode == kExitOk ? console::kYellow : console::kLightRed);
  console.WriteLine(OutcomeLine(destinationName, written, copied, simulatorRun.exitCode));
  console.SetTextColor(console::kLightGrey);
  console.EndLine();

  CleanUp(destinationName, written, simulatorRun);
  console.Pause(kFinalPauseMilliseconds);
  return exitCode;
}

}  // namespace sympack::run
