// The second half of a run: from the report to the end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "console/console.h"
#include "include_file/channel_symbols.h"
#include "platform/system.h"

namespace sympack::run {

// Pause before the normal end, so a console that closes with the process
// stays readable a moment.
constexpr unsigned kFinalPauseMilliseconds = 2000;

// What the run learnt around the simulator run, for its completion.
struct SimulatorRunFacts {
  std::uint32_t exitCode = 0;       // the interpreter's, which carries the simulator's
  bool audioFileWasThere = false;   // 000000_0001.wav existed before the simulator ran
};

// What the report gives the include file, read before the destination is
// asked for: nothing is asked when nothing can be written.
struct ReportFacts {
  std::optional<include_file::ChannelSymbols> symbols;  // the listing, when it is one transmission
  std::optional<std::string> decoded;                   // the report's own word on what the symbols carry
  // Set when the report rules out any include file (no listing, the
  // bad-message mark, not 160 symbols 0 to 3): the run has said why, cleaned
  // up and paused, and ends with this exit code.
  std::optional<int> refusedExitCode;
};

// A line that says what failed or was refused, in light red; the text colour
// is light grey again after it.
void WriteFailure(console::Console& console, std::string_view line);

// The run interrupted from the keyboard while the simulator ran or its report
// was shown: says so in light red and removes what the run made. No pause:
// the run ends as the key asked. Returns kExitInterrupted.
int EndInterrupted(console::Console& console, platform::System& system, const SimulatorRunFacts& simulatorRun);

// Reads the listing and the decoded text from the report.
ReportFacts ReadReport(console::Console& console, platform::System& system, const SimulatorRunFacts& simulatorRun);

// Takes the destination from the line typed at its prompt (its first field;
// empty: FST4.INC); builds, writes and shows the include file from a report
// that allows one, reports the outcome, fills the clipboard, cleans up and
// pauses. No line (the keyboard went away) ends the run as a hang-up does:
// the report removed, nothing else done. Returns the exit code.
int CompleteRun(console::Console& console, platform::System& system, std::u16string_view interpreter,
                std::string_view messageText, const std::optional<std::u16string>& destinationLine,
                const ReportFacts& report,
                const SimulatorRunFacts& simulatorRun);

}  // namespace sympack::run
