// The command that runs the simulator with the message and sends its report
// into the report file.
#pragma once

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
// that no byte of the message ever acts as interpreter syntax: outside the
// interpreter's quotes, & | < > ^ ( ) are escaped with ^, and when the
// message's own double quotes leave the interpreter outside quotes, the
// closing quote is escaped too. The program still receives the message bytes
// as they are, quotes included. A message without double quotes gives the
// plain command byte for byte.
std::string SimulatorCommand(std::string_view message);

// Runs the simulator through the interpreter; false when nothing was started.
bool RunSimulator(std::string_view interpreter, std::string_view message);

}  // namespace sympack::simulator
