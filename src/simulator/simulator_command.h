// The command that runs the simulator with the message and sends its report
// into the report file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sympack::simulator {

// The simulator's fixed arguments after the message (26 bytes): T/R period
// 120 s, audio frequency 1500 Hz, time offset 0.0, no Doppler spread, no
// delay, no audio files, S/N 0, and F for "not a WSPR-style hint". The double
// and triple blanks are part of it.
constexpr std::string_view kSimulatorParameters = " 120  1500 0.0   0 0 0 0 F";
constexpr std::string_view kSimulatorToken = "FST4SIM ";
constexpr std::string_view kReportRedirection = " > FST4TEMP.TXT";

// "FST4SIM " + quote + message + quote + parameters + redirection, written so
// that no byte of the message ever acts as interpreter syntax, and the program
// still receives exactly these bytes. A message without double quotes and
// percent signs stands between plain quotes, byte for byte. Any other message
// is written wholly outside the interpreter's quotes: its two framing quotes
// and every one of " & | < > ^ ( ) % ! are escaped with ^, because inside
// quotes the interpreter would still expand %NAME%, and a quote of the
// message would otherwise end the quoted stretch.
std::string SimulatorCommand(std::string_view message);

// Runs the simulator through the interpreter. The interpreter's exit code,
// which carries the simulator's; empty when nothing was started.
std::optional<std::uint32_t> RunSimulator(std::string_view interpreter, std::string_view message);

}  // namespace sympack::simulator
