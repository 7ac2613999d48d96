// The files one run works with, all in the current directory, and the
// longest names the run's file operations pass on.
#pragma once

#include <cstddef>
#include <string_view>

namespace sympack::simulator {

constexpr std::string_view kSimulatorProgram = "FST4SIM.EXE";
constexpr std::string_view kReportFile = "FST4TEMP.TXT";
constexpr std::string_view kAudioFile = "000000_0001.wav";
// The include file when the user names none.
constexpr std::string_view kDefaultDestination = "FST4.INC";

// Longest name or pattern passed on to a directory search; longer ones are cut.
constexpr std::size_t kMaxSearchNameLength = 256;
// Longest name a file is opened by, in UTF-16 units; longer ones are cut.
constexpr std::size_t kMaxOpenNameLength = 255;

}  // namespace sympack::simulator
