// The second half of a run: from the report to the end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "console/console.h"
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

// Takes the destination from the line typed at its prompt (its first field;
// empty: FST4.INC), reads the symbols, builds, writes and shows the include
// file, reports the outcome, fills the clipboard, cleans up and pauses.
// No line (the keyboard went away) ends the run as a hang-up does: the
// report removed, nothing else done. Returns the exit code.
int CompleteRun(console::Console& console, platform::System& system, std::u16string_view interpreter,
                std::string_view messageText, const std::optional<std::u16string>& destinationLine,
                const SimulatorRunFacts& simulatorRun);

}  // namespace sympack::run
