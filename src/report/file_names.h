// The files one run works with, all in the current directory.
#pragma once

#include <string_view>

namespace sympack::report {

constexpr std::string_view kSimulatorProgram = "FST4SIM.EXE";
constexpr std::string_view kReportFile = "FST4TEMP.TXT";
constexpr std::string_view kAudioFile = "000000_0001.wav";
// The include file when the user names none.
constexpr std::string_view kDefaultDestination = "FST4.INC";

}  // namespace sympack::report
