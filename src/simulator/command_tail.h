// The message a user may give on the command line.
#pragma once

#include <string>

namespace sympack::simulator {

// The command-line text after the program name, in the ANSI code page; empty
// when nothing follows. argc/argv are main()'s.
std::string CommandTail(int argc, char** argv);

}  // namespace sympack::simulator
