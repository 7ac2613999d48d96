#include "simulator/command_tail.h"

#include "platform/platform.h"

namespace sympack::simulator {

std::string CommandTail(int argc, char** argv) {
  return platform::WideToAnsi(platform::CommandTailWide(argc, argv));
}

}  // namespace sympack::simulator
