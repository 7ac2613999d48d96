// The outcome table's rows: each case's scenario on the in-memory system,
// and what the exit code, the folder, the screen and the clipboard must be
// afterwards.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "console/colors.h"
#include "memory_system.h"
#include "outcome_reports.h"
#include "run/exit_codes.h"
#include "run/messages.h"
#include "report/carried_text.h"

namespace sympack::run {
namespace {

using testing::MemorySystem;

struct Row {
  const char* name;
  std::string tail;  // the command tail; empty: the message is typed
  std::function<void(MemorySystem&)> scenario;
  int exitCode;
  std::vector<std::string> present;  // the folder afterwards, the simulator aside
  std::vector<std::string> absent;   // files that must not
  std::vector<std::string> shown;    // texts the screen must show
  bool copied;                       // the clipboard got the include text
  bool simulatorRan = true;
  int colour = -1;                     // the foreground the last shown text starts in
  std::vector<std::string> untouched;  // files the scenario made that keep their bytes
};

constexpr const char* kMessage = "cq k1abc fn42";
const std::string kWrittenLine = std::string(kWrittenTo) + "FST4.INC" + std::string(kCopied);

void Nothing(MemorySystem&) {}

std::string Said(std::string_view line) { return std::string(line); }
std::string Outcome(std::string_view start, std::string_view name, std::string_view end) {
  return std::string(start) + std::string(name) + std::string(end);
}

// The user's own include file, which a refused report must leave alone.
void UsersInclude(MemorySystem& s) { s.Put("FST4.INC", "mine"); }

// A name cmd.exe would run for the simulator: its own full name in any
// letter case, or (with a PATHEXT that lacks .EXE) that name with an
// extension added.
Row StandIn(const char* rowName, const char* typed) {
  return {rowName, kMessage, [typed](MemorySystem& s) { s.keys.Type(s.AnsiToWide(typed)).Enter(); },
          kExitNotWritten, {}, {"FST4TEMP.TXT"},
          {Outcome("", typed, kIsSimulatorAfter), Outcome(kNotWrittenTo, typed, kCopiedAnyway)}, true, true,
          console::kLightRed};
}

// The system refuses the write for `why`: the earlier FST4.INC keeps its
// bytes, and a light red line after its name says why, before the outcome.
Row NotWritten(const char* rowName, platform::WriteRefusal why, std::string_view after) {
  return {rowName, kMessage, [why](MemorySystem& s) { UsersInclude(s); s.writeFails = why; s.keys.Enter(); },
          kExitNotWritten, {"FST4.INC"}, {"FST4TEMP.TXT"},
          {Outcome("", "FST4.INC", after), Outcome(kNotWrittenTo, "FST4.INC", kCopiedAnyway)}, true, true,
          console::kLightRed, {"FST4.INC"}};
}

std::vector<Row> Rows() {
  using console::kLightRed;
  using console::kYellow;
  const auto typed = [](std::u16string destination) {
    return [destination](MemorySystem& s) { s.keys.Type(destination).Enter(); };
  };
  const auto report = [](std::string text) {
    return [text](MemorySystem& s) { UsersInclude(s); s.simulator.report = text; };
  };
  std::vector<Row> rows = {
      {"WholeRun", kMessage, Nothing, kExitOk, {"FST4SIM.EXE", "FST4.INC"}, {"FST4TEMP.TXT", "000000_0001.wav"},
       {kWrittenLine}, true, true, kYellow},
      {"TypedMessageAndDestination", "", [](MemorySystem& s) { s.keys.Type(u"cq k1abc fn42").Enter().Type(u"out.inc, x").Enter(); },
       kExitOk, {"OUT.INC"}, {"FST4.INC", "FST4TEMP.TXT"},
       {Said(kMessagePrompt) + kMessage, Outcome(kWrittenTo, "out.inc", kCopied)}, true, true, kYellow},
      {"QuotedTailWithTrailingBlank", "\"cq k1abc fn42\" ", Nothing, kExitOk, {"FST4.INC"}, {}, {kWrittenLine}, true},
      {"EmptyMessageEndsTheRun", "", [](MemorySystem& s) { s.keys.Enter(); }, kExitOk, {}, {"FST4.INC"},
       {Said(kMessagePrompt)}, false, false},
      {"SimulatorMissing", kMessage, [](MemorySystem& s) { s.files.clear(); }, kExitSimulatorMissing, {},
       {"FST4.INC"}, {Said(kDownloadHintLine), Said(kSimulatorMissingLine)}, false, false, kLightRed},
      {"InstalledSimulatorRuns", kMessage, [](MemorySystem& s) { s.files.clear(); s.installedSimulator = u"/opt/FST4SIM.EXE"; },
       kExitOk, {"FST4.INC"}, {}, {Said(kInstalledSimulatorLine) + "/opt/FST4SIM.EXE", kWrittenLine}, true},
      {"SimulatorLeavesNoReport", kMessage, [](MemorySystem& s) { s.simulator.writesReport = false; }, kExitNoReport,
       {}, {"FST4.INC"}, {Said(kNoReportLine), Outcome(kInterpreterBefore, "CMD.EXE", kInterpreterMadeNoReportAfter)},
       false, true, kLightRed},
      {"InterpreterDoesNotStart", kMessage, [](MemorySystem& s) { s.simulator.starts = false; }, kExitNoReport,
       {}, {"FST4.INC"}, {Said(kNoReportLine), Outcome(kInterpreterBefore, "CMD.EXE", kInterpreterNotFoundAfter)},
       false, true, kLightRed},
      {"InterpreterCannotRun", kMessage, [](MemorySystem& s) {
         s.environment[u"ComSpec"] = u"/tmp/notes.txt"; s.simulator.starts = false;
         s.simulator.startFailure = platform::StartFailure::kNotRunnable; },
       kExitNoReport, {}, {"FST4.INC"}, {Outcome(kInterpreterBefore, "/tmp/notes.txt", kInterpreterNotRunnableAfter)},
       false, true, kLightRed},
      {"NoInterpreterIsNamed", kMessage, [](MemorySystem& s) { s.environment[u"COMSPEC"] = u""; },
       kExitNoReport, {}, {"FST4.INC"}, {Said(kNoReportLine), Said(kNoInterpreterLine)}, false, false, kLightRed},
      {"FolderRefusesTheReport", kMessage, [](MemorySystem& s) { s.simulator.writesReport = false; s.folderRefuses = true; },
       kExitNoReport, {}, {"FST4.INC"}, {Said(kReportFolderRefusesLine)}, false, true, kLightRed},
      {"ReportWithoutListing", kMessage, report(ReportWithoutListing()), kExitNoListing, {"FST4.INC"},
       {"FST4TEMP.TXT"}, {Said(kNoListingLine)}, false, true, kLightRed, {"FST4.INC"}},
      {"ReportWithoutListingNamedAsDestination", kMessage,
       [](MemorySystem& s) { s.simulator.report = ReportWithoutListing(); s.keys.Type(u"fst4temp.txt").Enter(); },
       kExitNoListing, {}, {"FST4TEMP.TXT"}, {Said(kNoListingLine)}, false},
      {"DestinationIsTheSimulator", kMessage, typed(u"fst4sim.exe"), kExitNotWritten, {"FST4SIM.EXE"},
       {"FST4TEMP.TXT"}, {Outcome("", "fst4sim.exe", kIsSimulatorAfter), Outcome(kNotWrittenTo, "fst4sim.exe", kCopiedAnyway)},
       true, true, kLightRed},
      {"DestinationIsTheRunsOutput", kMessage, [](MemorySystem& s) { s.Put("FST4.INC", "log"); s.files[u"FST4.INC"].runOutput = true; s.keys.Enter(); },
       kExitNotWritten, {"FST4.INC"}, {"FST4TEMP.TXT"},
       {Outcome("", "FST4.INC", kIsRunOutputAfter), Outcome(kNotWrittenTo, "FST4.INC", kCopiedAnyway)}, true, true,
       kLightRed, {"FST4.INC"}},
      {"DestinationIsAPathextStandIn", kMessage, [](MemorySystem& s) {
         s.environment[u"PATHEXT"] = u".COM;.CMD"; s.keys.Type(u"FST4SIM.EXE.cmd .").Enter(); },
       kExitNotWritten, {}, {"FST4SIM.EXE.CMD .", "FST4TEMP.TXT"},
       {Outcome("", "FST4SIM.EXE.cmd .", kIsSimulatorAfter), Outcome(kNotWrittenTo, "FST4SIM.EXE.cmd .", kCopiedAnyway)},
       true, true, kLightRed},
      // Called by its full name, the simulator has no stand-ins: these are
      // the user's files.
      {"ACommandFileBesideTheSimulatorIsWritten", kMessage, typed(u"FST4SIM.COM"), kExitOk, {"FST4SIM.COM"},
       {"FST4.INC", "FST4TEMP.TXT"}, {Outcome(kWrittenTo, "FST4SIM.COM", kCopied)}, true, true, kYellow},
      {"ABatchFileBesideTheSimulatorIsWritten", kMessage, typed(u"fst4sim.bat"), kExitOk, {"FST4SIM.BAT"},
       {"FST4.INC", "FST4TEMP.TXT"}, {Outcome(kWrittenTo, "fst4sim.bat", kCopied)}, true, true, kYellow},
      {"FolderBusy", kMessage, [](MemorySystem& s) { s.folderBusy = true; }, kExitFolderBusy, {}, {"FST4.INC"},
       {Said(kFolderBusyLine)}, false, false, kLightRed},
      {"StaleReportStays", kMessage, [](MemorySystem& s) { s.Put("FST4TEMP.TXT", "old"); s.files[u"FST4TEMP.TXT"].undeletable = true; },
       kExitOldReportStays, {"FST4TEMP.TXT"}, {"FST4.INC"}, {Said(kOldReportLine)}, false, false, kLightRed, {"FST4TEMP.TXT"}},
      {"ReportIsTheRunsOutput", kMessage, [](MemorySystem& s) { s.Put("FST4TEMP.TXT", "log"); s.files[u"FST4TEMP.TXT"].runOutput = true; },
       kExitOldReportStays, {"FST4TEMP.TXT"}, {"FST4.INC"}, {Outcome("", "FST4TEMP.TXT", kIsRunOutputAfter)}, false, false, kLightRed, {"FST4TEMP.TXT"}},
      {"SimulatorFailed", kMessage, [](MemorySystem& s) { s.simulator.exitCode = 1; }, kExitSimulatorFailed,
       {"FST4.INC"}, {"FST4TEMP.TXT"}, {kWrittenLine + Said(kSimulatorFailedBefore) + "1" + Said(kSimulatorFailedAfter)},
       true, true, kLightRed},
      {"ReportCarriesOtherText", kMessage, [](MemorySystem& s) { s.simulator.report = Report("CQ K1ABC"); },
       kExitOtherText, {"FST4.INC"}, {"FST4TEMP.TXT"}, {kWrittenLine, Outcome(kOtherTextBefore, "CQ K1ABC", kOtherTextAfter)},
       true, true, kLightRed},
      {"ReportSaysBadMessage", kMessage, report(Report(Said(report::kBadMessageMark))), kExitBadMessage,
       {"FST4.INC"}, {"FST4TEMP.TXT"}, {Said(kBadMessageLine)}, false, true, kLightRed, {"FST4.INC"}},
      {"ReportSaysUnknownHash", kMessage, report(Report(Said(report::kUnknownHashMark))), kExitBadMessage,
       {"FST4.INC"}, {"FST4TEMP.TXT"}, {Said(kBadMessageLine)}, false, true, kLightRed, {"FST4.INC"}},
      {"EightySymbols", kMessage, report(Report("CQ K1ABC FN42", 8)), kExitWrongSymbolCount, {"FST4.INC"},
       {"FST4TEMP.TXT"}, {Outcome(kSymbolCountBefore, "80", kSymbolCountAfter)}, false, true, kLightRed, {"FST4.INC"}},
      // A listing is written only when it is exactly 160 symbols 0 to 3,
      // however its rows are cut.
      {"Listing159", kMessage, report(ReportListing(ReferenceListing().substr(1))), kExitWrongSymbolCount, {"FST4.INC"},
       {"FST4TEMP.TXT"}, {Outcome(kSymbolCountBefore, "159", kSymbolCountAfter)}, false, true, kLightRed, {"FST4.INC"}},
      {"Listing161", kMessage, report(ReportListing(ReferenceListing() + "0")), kExitWrongSymbolCount, {"FST4.INC"},
       {"FST4TEMP.TXT"}, {Outcome(kSymbolCountBefore, "161", kSymbolCountAfter)}, false, true, kLightRed, {"FST4.INC"}},
      {"Listing164", kMessage, report(ReportListing(ReferenceListing() + "0123")), kExitWrongSymbolCount, {"FST4.INC"},
       {"FST4TEMP.TXT"}, {Outcome(kSymbolCountBefore, "164", kSymbolCountAfter)}, false, true, kLightRed, {"FST4.INC"}},
      {"ListingWithA4", kMessage, report(ReportListing(ListingWith('4', 37))), kExitWrongSymbolCount, {"FST4.INC"},
       {"FST4TEMP.TXT"}, {Outcome(kSymbolCountBefore, "160", kSymbolCountAfter)}, false, true, kLightRed, {"FST4.INC"}},
      {"ListingWithA9", kMessage, report(ReportListing(ListingWith('9', 159))), kExitWrongSymbolCount, {"FST4.INC"},
       {"FST4TEMP.TXT"}, {Outcome(kSymbolCountBefore, "160", kSymbolCountAfter)}, false, true, kLightRed, {"FST4.INC"}},
      {"ListingWithALetter", kMessage, report(ReportListing(ListingWith('A', 0))), kExitWrongSymbolCount, {"FST4.INC"},
       {"FST4TEMP.TXT"}, {Outcome(kSymbolCountBefore, "160", kSymbolCountAfter)}, false, true, kLightRed, {"FST4.INC"}},
      {"ListingWithABlankInside", kMessage, report(ReportListing(ListingWith(' ', 84))), kExitWrongSymbolCount,
       {"FST4.INC"}, {"FST4TEMP.TXT"}, {Outcome(kSymbolCountBefore, "160", kSymbolCountAfter)}, false, true, kLightRed,
       {"FST4.INC"}},
      {"ListingInOddRows", kMessage, [](MemorySystem& s) { s.simulator.report = ReportListing(ReferenceListing(), 7); },
       kExitOk, {"FST4.INC"}, {"FST4TEMP.TXT"}, {kWrittenLine}, true, true, kYellow},
      {"ListingInRowsOf13And1", kMessage, [](MemorySystem& s) { s.simulator.report = ReportListing(ReferenceListing(), 13); },
       kExitOk, {"FST4.INC"}, {"FST4TEMP.TXT"}, {kWrittenLine}, true, true, kYellow},
      // Ctrl+C while the simulator runs, or while its report is shown: the
      // run ends there, the report goes and the user's file stays.
      {"InterruptedWhileTheSimulatorRuns", kMessage, [](MemorySystem& s) { UsersInclude(s); s.interruptedRun = 0; },
       kExitInterrupted, {"FST4.INC"}, {"FST4TEMP.TXT"}, {Said(kInterruptedLine)}, false, true, kLightRed, {"FST4.INC"}},
      {"InterruptedWhileTheReportIsShown", kMessage, [](MemorySystem& s) {
         UsersInclude(s); s.simulator.makesAudioFile = true; s.interruptedRun = 1; },
       kExitInterrupted, {"FST4.INC"}, {"FST4TEMP.TXT", "000000_0001.wav"}, {Said(kInterruptedLine)}, false, true,
       kLightRed, {"FST4.INC"}},
      {"ControlCharacter", "cq\tk1abc", Nothing, kExitControlCharacter, {}, {"FST4.INC"}, {Said(kControlCharacterLine)},
       false, false, kLightRed},
      // Lines read from standard input are refused for a control character
      // as a command line is: the whole line counts, not just its field.
      {"TabInAMessageLine", "", [](MemorySystem& s) { UsersInclude(s); s.keys.Literal(u"CQ K1ABC\tFN42").Enter(); },
       kExitControlCharacter, {"FST4.INC"}, {}, {Said(kControlCharacterLine)}, false, false, kLightRed, {"FST4.INC"}},
      {"NulInAMessageLine", "", [](MemorySystem& s) { UsersInclude(s); s.keys.Literal(std::u16string(u"CQ\0K1ABC", 8)).Enter(); },
       kExitControlCharacter, {"FST4.INC"}, {}, {Said(kControlCharacterLine)}, false, false, kLightRed, {"FST4.INC"}},
      {"BelInADestinationLine", kMessage, [](MemorySystem& s) { UsersInclude(s); s.keys.Literal(u"be\ac.inc").Enter(); },
       kExitControlCharacter, {"FST4.INC"}, {"FST4TEMP.TXT", "bec.inc", "be\ac.inc"}, {Said(kDestinationControlCharacterLine)},
       false, true, kLightRed, {"FST4.INC"}},
      {"TabAfterADestinationsField", kMessage, [](MemorySystem& s) { UsersInclude(s); s.keys.Literal(u"out.inc,\tx").Enter(); },
       kExitControlCharacter, {"FST4.INC"}, {"FST4TEMP.TXT", "out.inc"}, {Said(kDestinationControlCharacterLine)},
       false, true, kLightRed, {"FST4.INC"}},
      // Text the code page cannot hold is never sent, nor used as a name:
      // best fit would send "AB?" or write G.inc.
      {"MessageOutsideTheCodePage", "", [](MemorySystem& s) { s.keys.Type(u"\u0391\u0392\u0393").Enter(); },
       kExitControlCharacter, {}, {"FST4.INC"}, {Said(kNotInCodePageLine)}, false, false, kLightRed},
      {"DestinationOutsideTheCodePage", kMessage, [](MemorySystem& s) { s.Put("G.inc", "notes"); s.keys.Type(u"\u0393.inc").Enter(); },
       kExitNotWritten, {"G.inc"}, {"?.inc", "FST4.INC", "FST4TEMP.TXT"},
       {Said(kDestinationNotInCodePageLine), Outcome(kNotWrittenTo, "?.inc", kCopiedAnyway)}, true, true, kLightRed, {"G.inc"}},
      // The keyboard went away at a prompt (a hang-up): what was typed so far
      // is no answer; nothing more runs and the report goes.
      {"KeyboardLostAtTheMessagePrompt", "", [](MemorySystem& s) { s.keys.Type(u"cq k1"); s.keyboardGoesAway = true; },
       kExitKeyboardLost, {}, {"FST4.INC", "FST4TEMP.TXT"}, {Said(kMessagePrompt) + "cq k1"}, false, false},
      {"KeyboardLostAtTheDestinationPrompt", kMessage, [](MemorySystem& s) { UsersInclude(s); s.keys.Type(u"beac"); s.keyboardGoesAway = true; },
       kExitKeyboardLost, {"FST4.INC"}, {"FST4TEMP.TXT", "beac"}, {Said(kDestinationPrompt) + "beac"}, false, true, -1, {"FST4.INC"}},
      {"CommandTooLong", std::string(9000, 'A'), Nothing, kExitCommandTooLong, {}, {"FST4.INC"},
       {Said(kCommandTooLongLine)}, false, false, kLightRed},
      // Clean-up: the include file written over the report stays; the audio
      // file goes only when this run made it and it is not the include file.
      // The report is never the include file, under any name the system
      // takes for it: the run removes it all the same.
      {"DestinationIsTheReport", kMessage, typed(u"fst4temp.txt"), kExitNotWritten, {}, {"FST4TEMP.TXT", "FST4.INC"},
       {Outcome("", "fst4temp.txt", kIsReportAfter), Outcome(kNotWrittenTo, "fst4temp.txt", kCopiedAnyway)}, true,
       true, kLightRed},
      {"DestinationIsAPathToTheReport", kMessage, typed(u".\\FST4TEMP.TXT"), kExitNotWritten, {}, {"FST4TEMP.TXT"},
       {Outcome("", ".\\FST4TEMP.TXT", kIsReportAfter)}, true, true, kLightRed},
      // The system's own refusals: the earlier file keeps its text.
      {"ReadOnlyDestination", kMessage, [](MemorySystem& s) { UsersInclude(s); s.files[u"FST4.INC"].readOnly = true; s.keys.Enter(); },
       kExitNotWritten, {"FST4.INC"}, {"FST4TEMP.TXT"}, {Outcome("", "FST4.INC", kReadOnlyAfter)}, true, true,
       kLightRed, {"FST4.INC"}},
      {"DestinationIsAFolder", kMessage, [](MemorySystem& s) { s.files[u"BEACON"].directory = true; s.keys.Type(u"beacon").Enter(); },
       kExitNotWritten, {"BEACON"}, {"FST4TEMP.TXT"}, {Outcome("", "beacon", kIsFolderAfter)}, true, true, kLightRed},
      {"FolderRefusesTheDestination", kMessage, [](MemorySystem& s) { s.folderRefuses = true; s.keys.Enter(); },
       kExitNotWritten, {}, {"FST4.INC", "FST4TEMP.TXT"}, {Outcome("", "FST4.INC", kFolderRefusesAfter)}, true, true,
       kLightRed},
      {"DestinationWithWildcards", kMessage, typed(u"*.inc"), kExitNotWritten, {}, {"FST4TEMP.TXT"},
       {Outcome("", "*.inc", kBadNameAfter)}, true, true, kLightRed},
      {"DeviceTimesOut", kMessage, [](MemorySystem& s) { s.writeFails = platform::WriteRefusal::kTimedOut; s.keys.Type(u"beacon.inc").Enter(); },
       kExitNotWritten, {}, {"BEACON.INC"}, {"beacon.inc did not take the text within 3 seconds"}, true, true, kLightRed},
      // Written, never shown: TYPE would read an endless device like /dev/zero for ever.
      {"EndlessDeviceIsNotShown", kMessage, [](MemorySystem& s) { s.files[u"ZERO"].device = true; s.keys.Type(u"zero").Enter(); },
       kExitOk, {"ZERO"}, {"FST4TEMP.TXT"}, {Outcome(kWrittenTo, "zero", kCopied)}, true, true, kYellow},
      {"NewAudioFileGoes", kMessage, [](MemorySystem& s) { s.simulator.makesAudioFile = true; }, kExitOk,
       {"FST4.INC"}, {"000000_0001.wav"}, {kWrittenLine}, true},
      {"EarlierAudioFileStays", kMessage, [](MemorySystem& s) { s.Put("000000_0001.wav", "mine"); s.simulator.makesAudioFile = false; },
       kExitOk, {"000000_0001.wav", "FST4.INC"}, {"FST4TEMP.TXT"}, {kWrittenLine}, true, true, kYellow, {"000000_0001.wav"}},
      {"IncludeFileOverTheNewAudioFileStays", kMessage, [](MemorySystem& s) {
         s.simulator.makesAudioFile = true; s.keys.Type(u"000000_0001.wav").Enter(); },
       kExitOk, {"000000_0001.wav"}, {"FST4TEMP.TXT"}, {}, true},
      {"ClipboardRefuses", kMessage, [](MemorySystem& s) { s.clipboardWorks = false; }, kExitOk, {"FST4.INC"}, {},
       {Outcome(kWrittenTo, "FST4.INC", kButNotCopied)}, false, true, kYellow},
  };
  rows.push_back(StandIn("StandInMixedCase", "Fst4Sim.Exe"));
  rows.push_back(StandIn("StandInTrailingDot", "fst4sim.exe."));
  using platform::WriteRefusal;
  rows.push_back(NotWritten("DiskFullKeepsTheEarlierFile", WriteRefusal::kNoSpace, kNoSpaceAfter));
  rows.push_back(NotWritten("SizeLimitKeepsTheEarlierFile", WriteRefusal::kSizeLimit, kSizeLimitAfter));
  rows.push_back(NotWritten("FailedWriteKeepsTheEarlierFile", WriteRefusal::kFailed, kWriteFailedAfter));
  rows.push_back(NotWritten("HeldOpenForWriting", WriteRefusal::kHeldOpen, kHeldOpenAfter));
  rows.push_back(NotWritten("NoSuchFolder", WriteRefusal::kNoFolder, kNoFolderAfter));
  rows.push_back(NotWritten("NameTooLong", WriteRefusal::kNameTooLong, kNameTooLongAfter));
  rows.push_back(NotWritten("NotAFile", WriteRefusal::kNotAFile, kNotAFileAfter));
  rows.push_back(NotWritten("PipeNobodyReads", WriteRefusal::kNobodyReads, kNobodyReadsAfter));
  rows.push_back(NotWritten("ReservedDeviceName", WriteRefusal::kReservedName, kReservedNameAfter));
  return rows;
}

}  // namespace
}  // namespace sympack::run
