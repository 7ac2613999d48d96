// What the Win32 console side chose at preparation, shared by its files: where
// cells go, where keys come from, and the cursor shape found.
#pragma once

#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace sympack::platform::win32 {

enum class InputKind {
  kKeys,          // key events from the console keyboard, raw
  kConsoleLines,  // whole lines from a console in its line mode (it echoes them)
  kStreamLines,   // bytes from a file or pipe, in the ANSI code page
};

struct ConsoleState {
  HANDLE output = INVALID_HANDLE_VALUE;  // the screen buffer the tool writes into
  OwnedHandle keyboard;                  // "CONIN$", open for reading
  CONSOLE_CURSOR_INFO cursor{};          // the shape found at preparation
  OutputKind outputKind = OutputKind::kScreen;
  InputKind inputKind = InputKind::kKeys;
  bool prepared = false;
};

ConsoleState& TheConsole();

}  // namespace sympack::platform::win32
