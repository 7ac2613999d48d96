// The host system over the operating system's own seam (platform.h), which
// each OS implements once (posix/, win32/).
#include "platform/host_system.h"

#include "console/transcript.h"

namespace sympack::platform {
namespace {

class HostFile final : public OpenFile {
 public:
  explicit HostFile(File file) : file_(std::move(file)) {}
  bool IsDisk() override { return IsDiskFile(file_); }
  bool TruncateToStart() override { return platform::TruncateToStart(file_); }
  bool TruncateHere() override { return platform::TruncateHere(file_); }
  std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
    return ReadBytes(file_, buffer, size);
  }
  std::optional<std::size_t> Write(std::string_view bytes) override { return WriteBytes(file_, bytes); }

 private:
  File file_;
};

std::unique_ptr<OpenFile> Opened(File file) {
  if (!file.IsOpen()) return nullptr;
  return std::make_unique<HostFile>(std::move(file));
}

// The console's cells, as the platform places them.
class CellScreen final : public console::Screen {
 public:
  std::optional<ScreenInfo> Info() override { return ReadScreenInfo(); }
  void WriteCells(int x, int y, std::u16string_view cells, std::uint16_t attribute) override {
    platform::WriteCells(x, y, cells, attribute);
  }
  void ScrollUp(std::uint16_t fillAttribute) override { ScrollUpOneRow(fillAttribute); }
  void PlaceCursor(int x, int y) override { platform::PlaceCursor(x, y); }
  void SetAttribute(std::uint16_t attribute) override { SetCurrentAttribute(attribute); }
  std::optional<CursorShape> ReadCursorShape() override { return platform::ReadCursorShape(); }
  void SetCursorShape(CursorShape shape) override { platform::SetCursorShape(shape); }
};

// The standard streams, for the plain transcript.
class StandardStreams final : public console::TranscriptSink {
 public:
  void Write(std::u16string_view text) override { WriteTranscriptText(text); }
  void EndLine() override { EndTranscriptLine(); }
  void ErrorLine(std::u16string_view text) override { WriteErrorLine(text); }
  void BeforeTyping(std::u16string_view prompt) override { ShowPromptToTypist(prompt); }
};

class Host final : public HostSystem {
 public:
  Host(int argc, char** argv) : argc_(argc), argv_(argv) {}
  void PrepareForRun() override {
    if (PrepareConsole() == OutputKind::kTranscript) {
      transcript_ = std::make_unique<console::TranscriptScreen>(streams_, TypingShowsOnTranscript());
    }
  }
  void RestoreAfterRun() override { RestoreConsole(); }

  std::u16string AnsiToWide(std::string_view ansi) override { return platform::AnsiToWide(ansi); }
  std::string WideToAnsi(std::u16string_view wide) override { return platform::WideToAnsi(wide); }
  std::size_t AnsiCharacterLength(std::string_view text) override { return platform::AnsiCharacterLength(text); }
  std::string ProgramTextToAnsi(std::string_view printed) override { return platform::ProgramTextToAnsi(printed); }
  bool AnsiIsSingleByte() override { return platform::AnsiIsSingleByte(); }

  std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) override {
    return platform::EnvironmentVariable(name);
  }
  std::u16string CommandTail() override { return CommandTailWide(argc_, argv_); }
  std::u16string DefaultInterpreter() override { return platform::DefaultInterpreter(); }
  std::optional<std::u16string> InstalledSimulator() override { return platform::InstalledSimulator(); }
  std::optional<std::uint32_t> RunProcess(std::u16string_view commandLine) override {
    return platform::RunProcess(commandLine);
  }

  console::Screen& Screen() override {
    if (transcript_) return *transcript_;
    return cells_;
  }
  std::optional<KeyEvent> Next() override { return NextKeyEvent(); }
  void SleepMilliseconds(unsigned milliseconds) override { platform::SleepMilliseconds(milliseconds); }

  std::optional<DirectoryEntry> FindEntry(std::u16string_view name) override { return EntrySearch(name).Next(); }
  bool DeleteFileByName(std::u16string_view path) override { return platform::DeleteFileByName(path); }
  std::unique_ptr<OpenFile> OpenForReading(std::u16string_view path) override {
    return Opened(platform::OpenForReading(path));
  }
  std::unique_ptr<OpenFile> OpenOrCreateForWriting(std::u16string_view path) override {
    return Opened(platform::OpenOrCreateForWriting(path));
  }
  std::u16string NameAsCreated(std::u16string_view path) override { return platform::NameAsCreated(path); }
  bool NamesSameFile(std::u16string_view first, std::u16string_view second) override {
    return platform::NamesSameFile(first, second);
  }
  bool NamesStandardOutputOrError(std::u16string_view path) override {
    return platform::NamesStandardOutputOrError(path);
  }
  bool FolderRefusesNewFile(std::u16string_view path) override { return platform::FolderRefusesNewFile(path); }
  std::u16string LongNameOf(std::u16string_view path) override { return platform::LongNameOf(path); }

  void RemoveAtAbnormalEnd(std::u16string_view path) override { platform::RemoveAtAbnormalEnd(path); }
  bool ClaimCurrentFolder() override { return platform::ClaimCurrentFolder(); }
  bool PlaceClipboardText(std::u16string_view text) override { return platform::PlaceClipboardText(text); }

 private:
  int argc_;
  char** argv_;
  CellScreen cells_;
  StandardStreams streams_;
  std::unique_ptr<console::TranscriptScreen> transcript_;
};

}  // namespace

std::unique_ptr<HostSystem> MakeHostSystem(int argc, char** argv) { return std::make_unique<Host>(argc, argv); }

}  // namespace sympack::platform
