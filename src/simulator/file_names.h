// The files one run works with, all in the current directory.
#pragma once

#include <string_view>

namespace sympack::simulator {

constexpr std::string_view kSimulatorProgram = "FST4SIM.EXE";
constexpr std::string_view kReportFile = "FST4TEMP.TXT";
// The reader opens the report under this spelling; names match without regard
// to case, so it is the same file.
constexpr std::string_view kReportFileForReading = "FST4TEMP.txt";
constexpr std::string_view kAudioFile = "000000_0001.wav";

}  // namespace sympack::simulator
