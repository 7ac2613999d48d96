// The process exit codes: 0 for a finished run or a run the user ended with an
// empty message; the others say what stopped it.
#pragma once

namespace sympack::run {

constexpr int kExitOk = 0;
constexpr int kExitSimulatorMissing = 2;   // no FST4SIM.EXE in the current directory, none installed
constexpr int kExitNoReport = 3;           // the simulator run left no report file
constexpr int kExitNoListing = 4;          // the report holds no channel-symbol listing
constexpr int kExitNotWritten = 5;         // the include file was not written in full
constexpr int kExitFolderBusy = 6;         // another run is working in the current directory
constexpr int kExitOldReportStays = 7;     // a report left by an earlier run cannot be removed
constexpr int kExitSimulatorFailed = 8;    // written, but the simulator ended with an error
constexpr int kExitOtherText = 9;          // written, but the symbols carry another text than the message
constexpr int kExitBadMessage = 10;        // the report's decoded text is the bad-message mark
constexpr int kExitWrongSymbolCount = 11;  // the listing does not hold exactly 160 symbols
// The message, or a destination line read from standard input, holds a
// control character, or the message a character the ANSI code page cannot
// hold: refused before it could be used.
constexpr int kExitControlCharacter = 12;
constexpr int kExitCommandTooLong = 13;    // the simulator's command passes cmd.exe's limit: nothing ran
// The keyboard went away at a prompt (the terminal hung up, its input
// ended): the run ends as a hang-up ends it, with the status a shell gives
// a process SIGHUP ended (128 + 1).
constexpr int kExitKeyboardLost = 129;
// Interrupted from the keyboard while the simulator ran or its report was
// shown. RunTool returns it; the process then ends as the key would have
// ended it (HostSystem::EndInterrupted), the shell's 128 + SIGINT where it
// cannot.
constexpr int kExitInterrupted = 130;

}  // namespace sympack::run
