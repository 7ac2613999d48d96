// The plain transcript: what the console would show, as lines of plain text,
// for output that is no console (a file, a pipe) or a terminal that cannot
// place the cursor. The console rules draw on it as on any screen; it turns
// their cells and line ends into text and line ends, and sends every light red
// line to standard error as well.
#pragma once

#include <string>
#include <string_view>

#include "console/screen.h"
#include "console/transcript_sink.h"

namespace sympack::console {

// Wider than any line the tool writes: the transcript never wraps.
constexpr int kTranscriptWidth = 1 << 30;

// A screen of one endless row. Cells go into the current line; the line end
// (the scroll of that row) sends it out. A prompt goes out as soon as typing
// starts, so that it shows while the tool waits; the typed characters follow
// with the line end. Control characters, which the console would show as
// glyphs, become "?": the transcript holds no byte a terminal acts on.
class TranscriptScreen final : public Screen {
 public:
  // `typingShowsAlready`: the terminal itself echoes typed lines onto the
  // transcript's output; the echo and line end of typing are then left out.
  TranscriptScreen(TranscriptSink& sink, bool typingShowsAlready)
      : sink_(sink), typingShowsAlready_(typingShowsAlready) {}

  std::optional<ScreenInfo> Info() override;
  void WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) override;
  void ScrollUp(std::uint16_t fillAttribute) override;
  void PlaceCursor(int x, int y) override;
  void SetAttribute(std::uint16_t) override {}
  std::optional<CursorShape> ReadCursorShape() override { return std::nullopt; }
  void SetCursorShape(CursorShape) override {}
  void TypingStarts() override;

 private:
  bool EchoLeftOut() const { return typing_ && typingShowsAlready_; }

  TranscriptSink& sink_;
  const bool typingShowsAlready_;
  std::u16string line_;    // the current line as the console shows it
  std::size_t sent_ = 0;   // how much of it went out already (a prompt)
  int cursorX_ = 0;
  bool lightRed_ = false;  // some of the line is light red
  bool typing_ = false;    // a typed line is being read
};

}  // namespace sympack::console
