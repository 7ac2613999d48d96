// The message a user may give on the command line.
#pragma once

#include <string>
#include <string_view>

#include "platform/system.h"
#include "command/simulator_command.h"

namespace sympack::command {

// The command-line text after the program name, in the ANSI code page; empty
// when nothing follows.
std::string CommandTail(platform::System& system);

// A tail that starts with the word --fst4w or /fst4w (any letter case, then
// a blank, a tab or the end) asks for the FST4W form; the rest of the tail
// is then what carries the message. Any other tail asks for FST4, whole.
struct FormRequest {
  SymbolForm form = SymbolForm::kFst4;
  std::u16string_view rest;
};
FormRequest FormFromTail(std::u16string_view tail);

// The message a command tail gives: the tail without the blanks and tabs
// around it (cmd.exe leaves the blank before a redirection in the tail:
// `SYMPACK "cq k1abc fn42" > log.txt` gives `"cq k1abc fn42" `), except that one wholly
// inside one pair of double quotes (it starts and ends with one, and holds no
// other) gives what stands between them, as the user meant it.
std::u16string MessageFromTail(std::u16string_view tail);

}  // namespace sympack::command
