// The Windows console's screen buffer as the tool's one screen interface:
// cells written straight into the buffer, the cursor and its shape, through
// the console calls on the output handle. Until a console is attached every
// call fails quietly, as the calls do on a handle that is no console.
#pragma once

#include <windows.h>

#include "console/screen.h"
#include "platform/platform.h"

namespace sympack::platform::win32 {

class ConsoleScreen final : public console::Screen {
 public:
  // Writes into `output` from now on (standard output, not owned: the
  // process keeps it): sets its stream modes and finds the cursor shape.
  void Attach(HANDLE output);

  std::optional<ScreenInfo> Info() override;
  void WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) override;
  void ScrollUp(std::uint16_t fillAttribute) override;
  void PlaceCursor(int x, int y) override;
  void SetAttribute(std::uint16_t attribute) override;
  std::optional<CursorShape> ReadCursorShape() override;
  void SetCursorShape(CursorShape shape) override;

 private:
  void TakeCursorShape();

  HANDLE output_ = INVALID_HANDLE_VALUE;
  CONSOLE_CURSOR_INFO cursor_{};  // the shape found when attached; size 0 when none
};

}  // namespace sympack::platform::win32
