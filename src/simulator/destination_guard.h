// Destinations the include file must never be written to, because writing
// there would harm the run or every later run.
#pragma once

#include <string_view>

#include "platform/system.h"

namespace sympack::simulator {

// Windows' own PATHEXT, taken when the environment sets none: cmd.exe's
// built-in fallback (.COM;.EXE;.BAT;.CMD) is a part of it.
constexpr std::u16string_view kWindowsDefaultPathExt = u".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC";

// True when `lastPart` (a file name without folder), less the trailing dots
// and blanks Windows drops, is the simulator's command name with one of the
// `pathExt` extensions, in any letter case: cmd.exe would run such a file
// for the simulator command (it tries every extension in PATHEXT order in
// the current folder, so FST4SIM.COM or FST4SIM.BAT goes before FST4SIM.EXE).
bool NamesSimulatorStandIn(std::u16string_view lastPart, std::u16string_view pathExt);

// Why writing the include file under `destination` must not be tried.
enum class DestinationRefusal {
  kNone,       // it may be tried
  // The simulator program itself under any name, or a file in the current
  // folder cmd.exe would run for the simulator (under its typed name or, for
  // an existing file, the long name the system keeps for it): every later
  // run would fail.
  kSimulator,
  // The very file the run's standard output or standard error goes to,
  // which TYPE would then copy into itself.
  kRunOutput,
  // The simulator's report under any name the system takes for it: the run
  // removes it, and the next run would take it for a stale report.
  kReport,
};

DestinationRefusal RefusalOf(platform::System& system, std::string_view destination);

}  // namespace sympack::simulator
