// How user text (the message for the simulator, a file name for TYPE) is
// written into a command for the Windows command interpreter so that it
// arrives as exactly one argument, unchanged, and nothing else runs.
//
// The interpreter reads a /C command in two phases before anyone else sees it
// (the public analyses of cmd.exe's parser, answers by jeb and dbenham, and
// the 2024 "BatBadBut" advisories):
//   1. percent expansion: at a %, a name runs to the next %, : or the end of
//      the line; a defined name (also in the forms :~start,length and
//      :old=new) is replaced by its value, whose & | < > ( ) ^ " then act;
//      quotes and carets mean nothing here; a line feed ends the line;
//   1.5 every carriage return is removed, so a caret before one ends up
//      before the next character;
//   2. a " toggles quoting; outside quotes ^x is a literal x and & | < > ( )
//      are syntax.
// A program then splits its text by the C runtime's rules; TYPE splits at
// unquoted blanks, tabs, , ; and = and removes the quotes. Both read by
// character in the ANSI code page, never between the bytes of one.
//
// So: a text that needs no care goes as it is (TYPE) or between plain quotes
// (a program), byte for byte. One with a percent sign or a double quote is
// written outside the interpreter's quotes with a caret before every
// character: each % is then followed by a caret, every name that could form
// begins with ^, which no environment holds, and phase 2 takes the carets
// away again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <functional>
#include <string_view>

namespace sympack::command {

// Who splits the argument text once the interpreter has read it.
enum class ArgumentReader {
  kProgram,      // a C program (the simulator): the C runtime's rules
  kTypeCommand,  // the interpreter's own TYPE: a name list
};

// The length in bytes of the character that starts a text in the ANSI code
// page (a caret must never go between the bytes of one character).
using CharacterLength = std::function<std::size_t(std::string_view text)>;

// True when the text holds a control character (a byte below 0x20, or 0x7F;
// no code page uses those in a character of two bytes). No command line
// carries one exactly: NUL ends it, LF cuts it, CR is removed after percent
// expansion (moving a caret onto the next character), and a tab separates
// words for the interpreter and the C runtime. No Windows file name holds one.
bool HoldsControlCharacter(std::string_view text);

// The interpreter text that hands `text` to its reader as exactly one
// argument equal to `text`. Empty optional when no text can: a control
// character (HoldsControlCharacter), or for TYPE a double quote (TYPE removes
// every quote; no Windows file name holds one) or an empty name.
std::optional<std::string> InterpreterArgument(std::string_view text, ArgumentReader reader,
                                               CharacterLength characterLength);

}  // namespace sympack::command
