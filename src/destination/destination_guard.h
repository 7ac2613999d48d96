// Destinations the include file must never be written to, because writing
// there would harm the run or every later run.
#pragma once

#include <string_view>

#include "platform/system.h"

namespace sympack::destination {

// True when `lastPart` (a file name without folder), less the trailing dots
// and blanks Windows drops, names a file cmd.exe would run for the simulator
// command, in any letter case: the command's own name FST4SIM.EXE, whose
// extension is one of `pathExt`; should `pathExt` not hold .EXE, the name
// with one of its extensions added (FST4SIM.EXE.COM), as cmd.exe then looks
// for those instead.
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
  // A name with a character the ANSI code page cannot hold (told from the
  // typed name, before RefusalOf): any name the system were given in its
  // place could be another file's.
  kNotInCodePage,
  // The simulator's report under any name the system takes for it: the run
  // removes it, and the next run would take it for a stale report.
  kReport,
};

DestinationRefusal RefusalOf(platform::System& system, std::string_view destination);

}  // namespace sympack::destination
