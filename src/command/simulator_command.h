// The command that runs the simulator with the message and sends its report
// into the report file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"
#include "command/interpreter_argument.h"

namespace sympack::command {

// The frame the simulator is asked for: its last argument F or T.
enum class SymbolForm { kFst4, kFst4w };

// The simulator's fixed arguments after the message (26 bytes): T/R period
// 120 s, audio frequency 1500 Hz, time offset 0.0, no Doppler spread, no
// delay, no audio files, S/N 0, and F for "not a WSPR-style hint". The double
// and triple blanks are part of it.
constexpr std::string_view kSimulatorParameters = " 120  1500 0.0   0 0 0 0 F";
// The same with T, the hint that asks for the FST4W form: `<K1ABC> FN42AB`,
// the second message of the FST4W pair a 6-character grid needs, is an FST4W
// frame only with it (with F it becomes an FST4 frame that an FST4W receiver
// never decodes).
constexpr std::string_view kSimulatorParametersFst4w = " 120  1500 0.0   0 0 0 0 T";
// The simulator by its full name: a command name with an executable
// extension is the file of exactly that name, so no FST4SIM.COM, .BAT or .CMD
// beside it (which PATHEXT puts first for a bare FST4SIM) runs in its place.
constexpr std::string_view kSimulatorToken = "FST4SIM.EXE ";
// Sends the simulator's standard output into the report file (kReportFile).
constexpr std::string_view kRedirection = " > ";

// "FST4SIM.EXE " + the message as one argument + parameters + redirection. The
// simulator's first argument is exactly the message, whatever it holds
// (InterpreterArgument); a message that needs no care stands between plain
// quotes, byte for byte. A message with a control character gives an empty
// command (HoldsControlCharacter). A program path, when given, takes the
// place of "FST4SIM.EXE" as one exact argument too, so that no character of it
// acts as interpreter syntax; a path no argument can carry gives an empty
// command.
std::string SimulatorCommand(std::string_view message, CharacterLength characterLength,
                             std::string_view programPath = {}, SymbolForm form = SymbolForm::kFst4);

// The path of the simulator installed with the tool
// (System::InstalledSimulator), in the ANSI code page; nothing when there is
// none or the code page cannot hold its path exactly.
std::optional<std::string> InstalledSimulatorPath(platform::System& system);

// Runs the simulator (the current folder's, or the one at programPath)
// through the interpreter. The interpreter's exit code, which carries the
// simulator's; empty when nothing was started.
std::optional<std::uint32_t> RunSimulator(platform::System& system, std::u16string_view interpreter, std::string_view message,
                                          std::string_view programPath = {}, SymbolForm form = SymbolForm::kFst4);

}  // namespace sympack::command
