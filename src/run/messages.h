// Every text the tool prints in its own words. Trailing blanks are part of
// them.
#pragma once

#include <string_view>

namespace sympack::run {

constexpr std::string_view kBannerLine =
    "Generates FST4[W] Symbols in correct format for PIC .ASM file  ";
constexpr std::string_view kSimulatorLine = "Calls FST4SIM.EXE    ";
constexpr std::string_view kSimulatorMissingLine =
    "FST4SIM.EXE is not present.  Ensure this is in the same directory as SYMPACK";
// Said, with the path after it, when the current folder has no simulator and
// the one installed with the tool runs instead.
constexpr std::string_view kInstalledSimulatorLine = "No FST4SIM.EXE in this folder: calls ";
constexpr std::string_view kDownloadHintLine = "Visit the WSJT-X SOurce Website for full download";
constexpr std::string_view kMessagePrompt = "Message  ";
constexpr std::string_view kNoReportLine = "No Temp file created";
// Follows kNoReportLine when the reason is known: the folder may not be written.
constexpr std::string_view kReportFolderRefusesLine =
    "FST4TEMP.TXT cannot be created: this folder cannot be written to";
// Follows kNoReportLine: why the interpreter did not make the report.
constexpr std::string_view kNoInterpreterLine =
    "COMSPEC is not set: there is no command interpreter to run the simulator";
constexpr std::string_view kInterpreterBefore = "The command interpreter ";
constexpr std::string_view kInterpreterNotFoundAfter = " was not found";
constexpr std::string_view kInterpreterNotRunnableAfter = " cannot be run (not a program, or no permission)";
constexpr std::string_view kInterpreterTooLongAfter = " is too long a command line to start";
constexpr std::string_view kInterpreterMadeNoReportAfter = " ran, but made no FST4TEMP.TXT";
constexpr std::string_view kFolderBusyLine =
    "Another SYMPACK is running in this folder.  Wait for it to finish, then try again";
constexpr std::string_view kOldReportLine =
    "FST4TEMP.TXT from an earlier run cannot be removed.  Remove it, then try again";
// After a file's name: the report, or a destination, that the run's own
// output (or error output) is redirected into. Both texts fit a line of 80
// columns after the names the tool uses.
constexpr std::string_view kIsRunOutputAfter = " is where this run's output goes: send the output elsewhere";
// After a destination's name: the simulator, or a file the interpreter would
// run for it.
constexpr std::string_view kIsSimulatorAfter = " is the simulator, or would run in its place: choose another name";
// After a destination's name: the simulator's own report, which the run
// reads and then removes (the next run would remove it as a stale one).
// This and the texts below fit a line of 80 columns after the names the
// tool uses.
constexpr std::string_view kIsReportAfter = " is the simulator's report, removed at the end: use another name";
// After a destination's name: why the system did not take the include file.
constexpr std::string_view kBadNameAfter = " holds * or ?, which no file name may: choose another name";
constexpr std::string_view kIsFolderAfter = " is a folder: name a file";
constexpr std::string_view kReadOnlyAfter = " is read-only: it stays as it was";
constexpr std::string_view kNoFolderAfter = " is in a folder that does not exist";
constexpr std::string_view kNameTooLongAfter = " is a longer name than the system takes (it is never cut)";
constexpr std::string_view kNotAFileAfter = " is not a file, a device or a pipe";
constexpr std::string_view kFolderRefusesAfter = " cannot be made: its folder cannot be written to";
constexpr std::string_view kHeldOpenAfter = " is open for writing in another program: close it, then try again";
constexpr std::string_view kNobodyReadsAfter = " is a pipe that nobody reads";
constexpr std::string_view kTimedOutBefore = " did not take the text within ";
constexpr std::string_view kTimedOutAfter = " seconds";
constexpr std::string_view kNoSpaceAfter = ": no space left on the disk; an earlier file stays as it was";
constexpr std::string_view kSizeLimitAfter = ": over this process's file-size limit; an earlier file stays as it was";
constexpr std::string_view kReservedNameAfter = " is a Windows device name, whatever its extension: choose another name";
constexpr std::string_view kWriteFailedAfter = " could not be written; an earlier file stays as it was";
// Said on standard error when --help's or --version's text could not be
// written to standard output (exit 5).
constexpr std::string_view kInformationNotWrittenLine = "sympack: standard output did not take the whole text";
// A message the interpreter's command line cannot carry exactly, refused
// before anything runs.
constexpr std::string_view kControlCharacterLine =
    "The message holds a control character (CR, LF, tab...): nothing was run";
constexpr std::string_view kNotInCodePageLine =
    "The message has a character the code page cannot hold: nothing was run";
// A destination line read from standard input, refused as the message is.
constexpr std::string_view kDestinationControlCharacterLine =
    "The destination holds a control character (tab...): nothing was written";
// A destination whose name the code page cannot hold: the system would be
// given another file's name.
constexpr std::string_view kDestinationNotInCodePageLine =
    "The destination's name has a character the code page cannot hold";
constexpr std::string_view kCommandTooLongLine =
    "The message is too long for the interpreter's 8191 characters: nothing was run";
constexpr std::string_view kDestinationPrompt = "Destination file ( FST4.INC )   ";
// Ctrl+C or Ctrl+\ (Ctrl+Break) while the simulator ran or its report was
// shown: the run ends there.
constexpr std::string_view kInterruptedLine = "The run was interrupted: no include file written";

// The outcome line: "Symbols written to <name>  and copied to Clipboard " when
// all went well; its parts say what did not.
constexpr std::string_view kWrittenTo = "Symbols written to ";
constexpr std::string_view kNotWrittenTo = "Symbols not written to ";
constexpr std::string_view kCopied = "  and copied to Clipboard ";
constexpr std::string_view kButNotCopied = "  but not copied to Clipboard ";
constexpr std::string_view kNotCopied = "  and not copied to Clipboard ";
constexpr std::string_view kCopiedAnyway = "  but copied to Clipboard ";
// Added to the outcome line when the simulator's exit code was not 0: what it
// printed before it stopped may not be the whole listing.
constexpr std::string_view kSimulatorFailedBefore = " (FST4SIM.EXE ended with exit code ";
constexpr std::string_view kSimulatorFailedAfter = ": the listing may be incomplete)";

constexpr std::string_view kNoListingLine =
    "The simulator's report holds no channel symbols: no include file written";
// The report's own word on what the symbols carry (its Message: line).
constexpr std::string_view kBadMessageLine =
    "The simulator's report says the symbols carry no message: no include file written";
constexpr std::string_view kSymbolCountBefore = "The simulator's listing holds ";
constexpr std::string_view kSymbolCountAfter =
    " characters, not 160 symbols 0 to 3: no include file written";
constexpr std::string_view kOtherTextBefore = "The symbols carry \"";
constexpr std::string_view kOtherTextAfter = "\", not the message as typed";

}  // namespace sympack::run
