// Console colour numbers: attribute bits 1 blue, 2 green, 4 red, 8 intensity.
#pragma once

#include <cstdint>

namespace sympack::console {

constexpr int kDarkYellow = 6;  // the simulator's report
constexpr int kLightGrey = 7;   // normal text, prompts, the include file display
constexpr int kDarkGrey = 8;    // the line naming the simulator
constexpr int kLightRed = 12;   // failures
constexpr int kYellow = 14;     // the success line
constexpr int kBlack = 0;       // the only background this tool uses
constexpr int kColorCount = 16;

constexpr std::uint16_t Attribute(int foreground, int background) {
  return static_cast<std::uint16_t>(foreground + 16 * background);
}

}  // namespace sympack::console
