// The process exit codes: 0 for a finished run or a run the user ended with an
// empty message; the others say what stopped it.
#pragma once

namespace sympack::run {

constexpr int kExitOk = 0;
constexpr int kExitSimulatorMissing = 2;   // no FST4SIM.EXE in the current directory
constexpr int kExitNoReport = 3;           // the simulator run left no report file
constexpr int kExitNoListing = 4;          // the report holds no channel-symbol listing
constexpr int kExitNotWritten = 5;         // the include file was not written in full

}  // namespace sympack::run
