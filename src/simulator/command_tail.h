// The message a user may give on the command line.
#pragma once

#include <string>
#include <string_view>

namespace sympack::simulator {

// The command-line text after the program name, in the ANSI code page; empty
// when nothing follows. argc/argv are main()'s.
std::string CommandTail(int argc, char** argv);

// The message a command tail gives: the tail as it stands, except that a tail
// wholly inside one pair of double quotes (it starts and ends with one, and
// holds no other) gives what stands between them, as the user meant it.
std::string MessageFromTail(std::string_view tail);

}  // namespace sympack::simulator
