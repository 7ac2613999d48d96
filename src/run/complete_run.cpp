#include "run/complete_run.h"

#include <algorithm>

#include "include_file/delivery.h"
#include "include_file/include_text.h"
#include "run/exit_codes.h"
#include "run/messages.h"
#include "destination/destination_guard.h"
#include "report/file_names.h"
#include "report/carried_text.h"
#include "report/files.h"
#include "command/interpreter_argument.h"
#include "command/interpreter.h"
#include "report/report_reader.h"

namespace sympack::run {
namespace {

using console::Console;

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
void CleanUp(platform::System& system, std::string_view destination, bool includeWritten,
             const SimulatorRunFacts& simulatorRun) {
  const auto isIncludeFile = [&](std::string_view name) {
    return includeWritten && report::NamesSameFile(system, destination, name);
  };
  if (!isIncludeFile(report::kReportFile)) report::RemoveFile(system, report::kReportFile);
  if (!simulatorRun.audioFileWasThere && report::FileIsPresent(system, report::kAudioFile) &&
      !isIncludeFile(report::kAudioFile)) {
    report::RemoveFile(system, report::kAudioFile);
  }
}

int ExitCode(bool written, const SimulatorRunFacts& simulatorRun, bool carriesTyped) {
  if (!written) return kExitNotWritten;
  if (simulatorRun.exitCode != 0) return kExitSimulatorFailed;
  return carriesTyped ? kExitOk : kExitOtherText;
}

// The light red line, when the report rules out any include file: its
// decoded text is no message, or its listing is not one transmission.
std::optional<std::pair<std::string, int>> Refusal(std::string_view symbols,
                                                   const std::optional<include_file::ChannelSymbols>& channelSymbols,
                                                   const std::optional<std::string>& decoded) {
  if (decoded && report::IsNoMessage(*decoded)) {
    return std::make_pair(std::string(kBadMessageLine), kExitBadMessage);
  }
  if (!channelSymbols) {
    std::string line(kSymbolCountBefore);
    line += std::to_string(symbols.size());
    line += kSymbolCountAfter;
    return std::make_pair(line, kExitWrongSymbolCount);
  }
  return std::nullopt;
}

// The destination typed: the name in the ANSI code page, and whether that is
// the typed name exactly (otherwise it only shows it).
struct Destination {
  std::string name;
  bool inCodePage = true;
};

Destination DestinationFrom(platform::System& system, std::u16string_view line) {
  const std::u16string field = console::FirstField(line);
  if (field.empty()) return {std::string(report::kDefaultDestination)};
  if (auto exact = system.WideToAnsiExactly(field)) return {std::move(*exact)};
  return {system.WideToAnsi(field), false};
}

// What follows the destination's name in the light red line that says why
// it was not written; empty when it was.
std::string WhyNotWritten(destination::DestinationRefusal refusal, platform::WriteRefusal written) {
  using platform::WriteRefusal;
  switch (refusal) {
    case destination::DestinationRefusal::kSimulator: return std::string(kIsSimulatorAfter);
    case destination::DestinationRefusal::kRunOutput: return std::string(kIsRunOutputAfter);
    case destination::DestinationRefusal::kReport: return std::string(kIsReportAfter);
    case destination::DestinationRefusal::kNotInCodePage: return {};  // said by a line of its own
    case destination::DestinationRefusal::kNone: break;
  }
  switch (written) {
    case WriteRefusal::kNone: return {};
    case WriteRefusal::kBadName: return std::string(kBadNameAfter);
    case WriteRefusal::kFolder: return std::string(kIsFolderAfter);
    case WriteRefusal::kReadOnly: return std::string(kReadOnlyAfter);
    case WriteRefusal::kNoFolder: return std::string(kNoFolderAfter);
    case WriteRefusal::kNameTooLong: return std::string(kNameTooLongAfter);
    case WriteRefusal::kNotAFile: return std::string(kNotAFileAfter);
    case WriteRefusal::kFolderRefuses: return std::string(kFolderRefusesAfter);
    case WriteRefusal::kHeldOpen: return std::string(kHeldOpenAfter);
    case WriteRefusal::kNobodyReads: return std::string(kNobodyReadsAfter);
    case WriteRefusal::kTimedOut:
      return std::string(kTimedOutBefore) + std::to_string(platform::kDeviceWriteLimitMilliseconds / 1000) +
             std::string(kTimedOutAfter);
    case WriteRefusal::kNoSpace: return std::string(kNoSpaceAfter);
    case WriteRefusal::kSizeLimit: return std::string(kSizeLimitAfter);
    case WriteRefusal::kReservedName: return std::string(kReservedNameAfter);
    case WriteRefusal::kFailed: break;
  }
  return std::string(kWriteFailedAfter);
}

}  // namespace

void WriteFailure(Console& console, std::string_view line) {
  console.SetTextColor(console::kLightRed);
  console.WriteLine(line);
  console.SetTextColor(console::kLightGrey);
}

int EndInterrupted(Console& console, platform::System& system, const SimulatorRunFacts& simulatorRun) {
  console.StartLine();  // after the ^C the terminal may have echoed
  WriteFailure(console, kInterruptedLine);
  CleanUp(system, {}, false, simulatorRun);
  report::RemoveIfRunEndsAbnormally(system, {});
  return kExitInterrupted;
}

ReportFacts ReadReport(Console& console, platform::System& system, const SimulatorRunFacts& simulatorRun) {
  ReportFacts report;
  std::optional<std::pair<std::string, int>> refusal;
  if (const auto symbolText = report::ReadSymbolText(system)) {
    // The report's own word on what the symbols carry; a simulator that
    // gives none is taken at its listing.
    report.decoded = report::ReadDecodedText(system);
    report.symbols = include_file::ChannelSymbols::FromListing(*symbolText);
    refusal = Refusal(*symbolText, report.symbols, report.decoded);
  } else {
    refusal = std::make_pair(std::string(kNoListingLine), kExitNoListing);
  }
  if (refusal) {
    WriteFailure(console, refusal->first);
    CleanUp(system, {}, false, simulatorRun);
    console.Pause(kFinalPauseMilliseconds);
    report.refusedExitCode = refusal->second;
  }
  return report;
}

int CompleteRun(Console& console, platform::System& system, std::u16string_view interpreter, std::string_view messageText,
                const std::optional<std::u16string>& destinationLine, const ReportFacts& report,
                const SimulatorRunFacts& simulatorRun) {
  if (!destinationLine) {
    CleanUp(system, {}, false, simulatorRun);
    return kExitKeyboardLost;
  }
  // Control characters are ASCII in every code page: the shown form tells.
  if (command::HoldsControlCharacter(system.WideToAnsi(*destinationLine))) {
    WriteFailure(console, kDestinationControlCharacterLine);
    CleanUp(system, {}, false, simulatorRun);
    console.Pause(kFinalPauseMilliseconds);
    return kExitControlCharacter;
  }
  const Destination destination = DestinationFrom(system, *destinationLine);
  const std::string_view destinationName = destination.name;

  const std::optional<std::string>& decoded = report.decoded;
  const bool carriesTyped = !decoded || report::CarriesSameText(messageText, *decoded);

  const std::string includeText = include_file::BuildIncludeText(
      *report.symbols, include_file::CommentMessage(messageText, decoded.value_or(""), carriesTyped),
      destinationName);
  // Never over the simulator or a stand-in cmd.exe would run for it (every
  // later run would fail), nor over the report (the run removes it), nor into
  // the run's own output (TYPE would copy the file into itself without end).
  const destination::DestinationRefusal refusal =
      destination.inCodePage ? destination::RefusalOf(system, destinationName) : destination::DestinationRefusal::kNotInCodePage;
  include_file::IncludeFileWrite write;
  if (refusal == destination::DestinationRefusal::kNone) {
    write = include_file::WriteIncludeFile(system, destinationName, includeText);
  }
  const bool written = write.complete;
  // Only a disk file written in full is shown: an old text, a file that was
  // never written or a device is not (TYPE would read /dev/zero without end,
  // or CON from the keyboard, whichever interpreter runs it).
  if (written && write.diskFile) command::ShowFile(system, interpreter, destinationName);
  const bool copied = include_file::CopyTextToClipboard(system, includeText);

  const int exitCode = ExitCode(written, simulatorRun, carriesTyped);
  if (!carriesTyped) {
    WriteFailure(console, std::string(kOtherTextBefore) + *decoded + std::string(kOtherTextAfter));
  }
  if (refusal == destination::DestinationRefusal::kNotInCodePage) {
    WriteFailure(console, kDestinationNotInCodePageLine);
  } else if (!written) {
    WriteFailure(console, std::string(destinationName) + WhyNotWritten(refusal, write.refusal));
  }
  console.SetTextColor(exitCode == kExitOk ? console::kYellow : console::kLightRed);
  // Named as the file system holds it (Windows drops trailing dots and blanks).
  const std::string shownName =
      written ? system.WideToAnsi(system.NameAsCreated(system.AnsiToWide(destinationName)))
              : std::string(destinationName);
  console.WriteLine(OutcomeLine(shownName, written, copied, simulatorRun.exitCode));
  console.SetTextColor(console::kLightGrey);
  console.EndLine();

  CleanUp(system, destinationName, written, simulatorRun);
  console.Pause(kFinalPauseMilliseconds);
  return exitCode;
}

}  // namespace sympack::run
