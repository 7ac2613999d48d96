#include "encoder/delivery.h"
#include "encoder/include_text.h"
#include "run/exit_codes.h"
#include "run/messages.h"
#include "run/run_tool.h"
#include "simulator/file_names.h"
#include "simulator/files.h"
#include "simulator/interpreter.h"
#include "simulator/report_reader.h"

namespace sympack::run {
namespace {

using console::Console;
namespace sim = simulator;

std::string OutcomeLine(std::string_view destination, bool written, bool copied) {
  std::string line(written ? kWrittenTo : kNotWrittenTo);
  line += destination;
  if (written) {
    line += copied ? kCopied : kButNotCopied;
  } else {
    line += copied ? kCopiedAnyway : kNotCopied;
  }
  return line;
}

// Removes the run's temporary files, but never the include file just
// written, whatever name the user gave it.
void CleanUp(std::string_view destination) {
  if (!sim::NamesSameFile(destination, sim::kReportFile)) sim::DeleteFiles(sim::kReportFile);
  if (sim::FileIsPresent(sim::kAudioFile) && !sim::NamesSameFile(destination, sim::kAudioFile)) {
    sim::DeleteFiles(sim::kAudioFile);
  }
}

}  // namespace

int CompleteRun(Console& console, std::u16string_view interpreter, std::string_view messageText,
                std::string_view destinationName) {
  const auto symbolText = sim::ReadSymbolText();
  if (!symbolText) {
    console.SetTextColor(console::kLightRed);
    console.WriteLine(kNoListingLine);
    console.SetTextColor(console::kLightGrey);
    CleanUp(destinationName);
    console.Pause(kFinalPauseMilliseconds);
    return kExitNoListing;
  }

  const std::string includeText = encoder::BuildIncludeText(*symbolText, messageText, destinationName);
  // The simulator program itself (under any name the file system takes for
  // it) is never overwritten: every later run would fail.
  encoder::IncludeFileWrite write;
  if (!sim::NamesSameFile(destinationName, sim::kSimulatorProgram)) {
    write = encoder::WriteIncludeFile(destinationName, includeText);
  }
  const bool written = write.complete;
  // Only a disk file written in full is shown: an old text, a device that
  // would wait for the keyboard or a file that was never written is not.
  if (written && write.diskFile) sim::ShowFile(interpreter, destinationName);
  const bool copied = encoder::CopyTextToClipboard(includeText);

  console.SetTextColor(written ? console::kYellow : console::kLightRed);
  console.WriteLine(OutcomeLine(destinationName, written, copied));
  console.SetTextColor(console::kLightGrey);
  console.EndLine();

  CleanUp(destinationName);
  console.Pause(kFinalPauseMilliseconds);
  return written ? kExitOk : kExitNotWritten;
}

}  // namespace sympack::run
