#include "platform/win32/control_handler_win32.h"

#include <windows.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace sympack::platform {
namespace {

// The file to remove when the console closes, or the session ends, first.
std::wstring& AbnormalEndFile() {
  static std::wstring name;
  return name;
}

// Ctrl+C, Ctrl+Break and closing the window are taken as handled, so neither
// key ends the run. The system ends the process after a close, log-off or
// shut-down all the same: the run's temporary report goes first.
BOOL WINAPI KeepRunning(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      if (!AbnormalEndFile().empty()) DeleteFileW(AbnormalEndFile().c_str());
      return event == CTRL_CLOSE_EVENT ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void win32::HandleControlEvents() { SetConsoleCtrlHandler(KeepRunning, TRUE); }

void RemoveAtAbnormalEnd(std::u16string_view path) { AbnormalEndFile() = win32::ToWide(path); }

}  // namespace sympack::platform
