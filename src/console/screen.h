// What the console algorithms draw on and read keys from. The system console
// stands behind SystemScreen and SystemKeys; tests use an in-memory screen and
// a list of keys.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "console/transcript_sink.h"
#include "platform/platform.h"

namespace sympack::console {

using platform::CursorShape;
using platform::KeyEvent;
using platform::ScreenInfo;

class Screen {
 public:
  virtual ~Screen() = default;
  virtual std::optional<ScreenInfo> Info() = 0;
  virtual void WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) = 0;
  virtual void ScrollUp(std::uint16_t fillAttribute) = 0;
  virtual void PlaceCursor(int x, int y) = 0;
  virtual void SetAttribute(std::uint16_t attribute) = 0;
  virtual std::optional<CursorShape> ReadCursorShape() = 0;
  virtual void SetCursorShape(CursorShape shape) = 0;
  // A typed line is about to be read (after its prompt).
  virtual void TypingStarts() {}
};

class KeySource {
 public:
  virtual ~KeySource() = default;
  // The next input event; empty when no key will ever come.
  virtual std::optional<KeyEvent> Next() = 0;
};

class SystemScreen final : public Screen {
 public:
  std::optional<ScreenInfo> Info() override { return platform::ReadScreenInfo(); }
  void WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) override {
    platform::WriteCells(x, y, cells, attribute);
  }
  void ScrollUp(std::uint16_t fillAttribute) override { platform::ScrollUpOneRow(fillAttribute); }
  void PlaceCursor(int x, int y) override { platform::PlaceCursor(x, y); }
  void SetAttribute(std::uint16_t attribute) override { platform::SetCurrentAttribute(attribute); }
  std::optional<CursorShape> ReadCursorShape() override { return platform::ReadCursorShape(); }
  void SetCursorShape(CursorShape shape) override { platform::SetCursorShape(shape); }
};

class SystemKeys final : public KeySource {
 public:
  std::optional<KeyEvent> Next() override { return platform::NextKeyEvent(); }
};

// The standard streams, for the plain transcript.
class SystemTranscriptSink final : public TranscriptSink {
 public:
  void Write(std::u16string_view text) override { platform::WriteTranscriptText(text); }
  void EndLine() override { platform::EndTranscriptLine(); }
  void ErrorLine(std::u16string_view text) override { platform::WriteErrorLine(text); }
  void BeforeTyping(std::u16string_view prompt) override { platform::ShowPromptToTypist(prompt); }
};

}  // namespace sympack::console
