// The characters of the keys that edit a typed line, as the Windows console
// reports them in its key events. Terminal bytes and standard input's lines
// are turned into the same keys.
#pragma once

namespace sympack::platform {

constexpr char16_t kEnterCharacter = 13;      // CR
constexpr char16_t kBackspaceCharacter = 8;   // BS

}  // namespace sympack::platform
