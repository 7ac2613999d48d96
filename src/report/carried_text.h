// What the simulator's report says the symbols carry, set against the message
// that was sent.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace sympack::report {

// The start of the report line that gives the decoded text, and the field
// that follows it on that line ("Message: <text, 37 wide> W: F iwspr: 0").
constexpr std::string_view kMessageLineStart = "Message:";
constexpr std::string_view kMessageLineFieldAfter = " W: ";

// The simulator's marks for symbols that carry no message at all: its
// bad-message text, and an unknown hash standing for the whole message.
constexpr std::string_view kBadMessageMark = "*** bad message ***";
constexpr std::string_view kUnknownHashMark = "<...>";

// The decoded text of one report line, blanks around it dropped; nothing when
// the line is not the Message: line.
std::optional<std::string> DecodedTextOfLine(std::string_view line);

// The decoded text of the report file, read up to the listing header; nothing
// when the report has no Message: line (another simulator) or cannot be read.
std::optional<std::string> ReadDecodedText(platform::System& system);

// True when the decoded text says the symbols carry no message: a mark above,
// or nothing at all.
bool IsNoMessage(std::string_view decoded);

// True when the decoded text carries the message sent, told apart from its
// form by the protocol's own spelling: letter case and blanks; a report as
// sign and two digits (-5 is -05, -00 is +00); a number without its leading
// zeros (a power 07, a serial 0001, telemetry 00..0F); a call with or without
// the angle brackets of a hashed call. A cut, a changed character, a rounded
// report or power or a lost call part is a difference.
bool CarriesSameText(std::string_view sent, std::string_view decoded);

}  // namespace sympack::report
