// A whole system in memory, for running the tool's logic without a console,
// a folder or a process: files in a map (names in any letter case, as
// Windows takes them), a scripted interpreter, recorded screen cells and
// clipboard, and a clock that does not sleep. The code page is Windows-1252.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "memory_screen.h"
#include "platform/system.h"
#include "text/cp1252.h"

namespace sympack::testing {

class MemorySystem final : public platform::System {
 public:
  // What the scripted interpreter does for a command that runs the simulator
  // (the one that sends its output into the report): it writes `report` into FST4TEMP.TXT (unless
  // `writesReport` is false), makes the audio file when asked, and ends
  // with `exitCode`. `starts` false: no process could be started, for the
  // reason `startFailure`.
  struct Simulator {
    bool starts = true;
    platform::StartFailure startFailure = platform::StartFailure::kNotFound;
    bool writesReport = true;
    std::string report;
    bool makesAudioFile = false;
    std::uint32_t exitCode = 0;
  };

  struct Entry {
    std::string bytes;
    bool device = false;     // takes bytes, keeps none (NUL)
    bool directory = false;
    bool undeletable = false;
    bool readOnly = false;
    bool runOutput = false;  // standard output writes here
  };

  MemorySystem() : screen(kWidth, kHeight) {}

  // ---- The scenario
  std::map<std::u16string, Entry> files;  // by upper-case name
  std::map<std::u16string, std::u16string> environment;
  std::u16string commandTail;
  std::optional<std::u16string> installedSimulator;
  Simulator simulator;
  bool folderBusy = false;
  bool folderRefuses = false;
  bool clipboardWorks = true;
  bool standardOutputWorks = true;  // false: standard output takes nothing (a full disk)
  int interruptedRun = -1;  // the RunProcess call (from 0) the user interrupts; -1: none
  // A write the system fails half-way (a full disk, say): the file stays as
  // it was, as a whole replacement leaves it.
  platform::WriteRefusal writeFails = platform::WriteRefusal::kNone;
  MemoryScreen screen;
  KeyList keys;
  bool keyboardGoesAway = false;

  // ---- What happened
  std::vector<std::u16string> commandLines;
  std::string standardOutput, standardError;  // what was written there, byte for byte
  std::vector<std::u16string> clipboard;  // every text placed
  std::u16string abnormalEndFile;
  unsigned slept = 0;
  platform::StartFailure lastStartFailure = platform::StartFailure::kNone;

  static constexpr int kWidth = 200, kHeight = 120;

  void Put(std::string_view name, std::string_view bytes) { files[Key(Wide(name))].bytes = bytes; }
  bool Has(std::string_view name) const { return files.count(Key(Wide(name))) != 0; }
  std::string Bytes(std::string_view name) const { return files.at(Key(Wide(name))).bytes; }
  // Every row the run wrote, trailing blanks dropped, as one text.
  std::string ScreenText() const {
    std::string text;
    for (int y = 0; y < kHeight; ++y) text += screen.RowTrimmed(y) + "\n";
    return text;
  }

  static bool RunsSimulator(std::u16string_view commandLine) {
    return commandLine.find(u" > FST4TEMP.TXT") != std::u16string_view::npos;
  }

  // Every name in the folder, as the map holds it.
  std::set<std::u16string> Names() const {
    std::set<std::u16string> names;
    for (const auto& entry : files) names.insert(entry.first);
    return names;
  }
  static std::u16string NameKey(std::string_view name) { return Key(Wide(name)); }

  // The foreground colour every cell of a shown text has; -1 when it is not
  // shown, or not in one colour.
  int ForegroundAt(std::string_view shown) const {
    for (int y = 0; y < kHeight; ++y) {
      const auto x = screen.Row(y).find(shown);
      if (x == std::string::npos) continue;
      const int colour = screen.CellAt(static_cast<int>(x), y).attribute & 0x0F;
      for (std::size_t i = 0; i < shown.size(); ++i) {
        if ((screen.CellAt(static_cast<int>(x + i), y).attribute & 0x0F) != colour) return -1;
      }
      return colour;
    }
    return -1;
  }

  // ---- The roles of platform::System: text::CodePage
  std::u16string AnsiToWide(std::string_view ansi) override { return text::Cp1252ToUtf16(ansi); }
  std::string WideToAnsi(std::u16string_view wide) override { return text::Utf16ToCp1252(wide); }
  std::optional<std::string> WideToAnsiExactly(std::u16string_view wide) override {
    std::string ansi = WideToAnsi(wide);
    if (AnsiToWide(ansi) != wide) return std::nullopt;
    return ansi;
  }
  std::size_t AnsiCharacterLength(std::string_view t) override { return t.empty() ? 0 : 1; }
  std::string ProgramTextToAnsi(std::string_view printed) override { return std::string(printed); }
  bool AnsiIsSingleByte() override { return true; }

  // ---- platform::InterpreterRun
  std::optional<std::u16string> EnvironmentVariable(std::u16string_view name) override {
    for (const auto& [key, value] : environment) {
      if (Upper(key) == Upper(name)) return value;
    }
    return std::nullopt;
  }
  std::u16string CommandTail() override { return commandTail; }
  std::u16string DefaultInterpreter() override { return u"CMD.EXE"; }
  std::optional<std::u16string> InstalledSimulator() override { return installedSimulator; }
  std::optional<std::uint32_t> RunProcess(std::u16string_view line) override {
    commandLines.emplace_back(line);
    interrupted_ = static_cast<int>(commandLines.size()) - 1 == interruptedRun;
    lastStartFailure = platform::StartFailure::kNone;
    if (!RunsSimulator(line)) return 0;  // TYPE: shows, changes nothing
    if (!simulator.starts) {
      lastStartFailure = simulator.startFailure;
      return std::nullopt;
    }
    if (simulator.writesReport) files[u"FST4TEMP.TXT"].bytes = simulator.report;
    if (simulator.makesAudioFile) files[u"000000_0001.WAV"].bytes = "RIFF";
    return simulator.exitCode;
  }

  bool ProcessWasInterrupted() override { return interrupted_; }
  platform::StartFailure LastStartFailure() override { return lastStartFailure; }

  // ---- console::Terminal
  console::Screen& Screen() override { return screen; }
  // Once the keys have run out: Enter for ever, as from a file that ended;
  // or, with keyboardGoesAway, nothing (the terminal hung up).
  std::optional<platform::KeyEvent> Next() override {
    if (auto key = keys.Next()) return key;
    if (keyboardGoesAway) return std::nullopt;
    platform::KeyEvent enter;
    enter.pressed = true, enter.character = 13;
    return enter;
  }
  void SleepMilliseconds(unsigned milliseconds) override { slept += milliseconds; }

  // ---- platform::RunFiles
  std::optional<platform::DirectoryEntry> FindEntry(std::u16string_view name) override {
    const auto found = files.find(Key(name));
    if (found == files.end()) return std::nullopt;
    platform::DirectoryEntry entry;
    entry.name = found->first;
    entry.plainFile = !found->second.directory && !found->second.device;
    return entry;
  }
  bool DeleteFileByName(std::u16string_view path) override {
    const auto found = files.find(Key(path));
    if (found == files.end() || found->second.undeletable || found->second.directory) return false;
    files.erase(found);
    return true;
  }
  std::unique_ptr<platform::OpenFile> OpenForReading(std::u16string_view path) override {
    const auto found = files.find(Key(path));
    if (found == files.end() || found->second.directory) return nullptr;
    return std::make_unique<Open>(found->second);
  }
  // ---- platform::Destination
  platform::WholeFileWrite WriteWholeFile(std::u16string_view path, std::string_view bytes) override {
    using platform::WriteRefusal;
    const auto found = files.find(Key(path));
    if (found == files.end() && folderRefuses) return {WriteRefusal::kFolderRefuses, false};
    if (found != files.end() && found->second.directory) return {WriteRefusal::kFolder, false};
    if (found != files.end() && found->second.readOnly) return {WriteRefusal::kReadOnly, false};
    if (writeFails != WriteRefusal::kNone) return {writeFails, false};
    Entry& entry = files[Key(path)];
    if (entry.device) return {WriteRefusal::kNone, false};
    entry.bytes = bytes;
    return {WriteRefusal::kNone, true};
  }
  std::u16string NameAsCreated(std::u16string_view path) override { return std::u16string(path); }
  bool NamesSameFile(std::u16string_view first, std::u16string_view second) override {
    if (first == u"." || second == u".") return first == second;
    return Key(first) == Key(second) && files.count(Key(first)) != 0;
  }
  bool NamesStandardOutputOrError(std::u16string_view path) override {
    const auto found = files.find(Key(path));
    return found != files.end() && found->second.runOutput;
  }
  bool FolderRefusesNewFile(std::u16string_view) override { return folderRefuses; }
  std::u16string ListedName(std::u16string_view path) override { return std::u16string(path); }

  // ---- platform::RunFiles: the abnormal end, the folder claim
  void RemoveAtAbnormalEnd(std::u16string_view path) override { abnormalEndFile = path; }
  bool ClaimCurrentFolder() override { return !folderBusy; }
  // ---- platform::Clipboard
  bool PlaceClipboardText(std::u16string_view text) override {
    if (!clipboardWorks) return false;
    clipboard.emplace_back(text);
    return true;
  }
  bool WriteStandardOutput(std::string_view text) override {
    if (standardOutputWorks) standardOutput += text;
    return standardOutputWorks;
  }
  void WriteStandardError(std::string_view text) override { standardError += text; }

 private:
  bool interrupted_ = false;

  // A file open for reading, at a position of its own.
  class Open final : public platform::OpenFile {
   public:
    explicit Open(Entry& entry) : entry_(entry) {}
    std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
      const std::size_t n = std::min(size, entry_.bytes.size() - std::min(at_, entry_.bytes.size()));
      std::copy_n(entry_.bytes.data() + at_, n, buffer);
      at_ += n;
      return n;
    }

   private:
    Entry& entry_;
    std::size_t at_ = 0;
  };

  static std::u16string Upper(std::u16string_view name) {
    std::u16string upper(name);
    for (char16_t& c : upper) {
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return upper;
  }
  // A name as the map holds it: upper case, without a leading ".\".
  static std::u16string Key(std::u16string_view name) {
    if (name.substr(0, 2) == u".\\" || name.substr(0, 2) == u"./") name.remove_prefix(2);
    return Upper(name);
  }
  static std::u16string Wide(std::string_view ansi) { return text::Cp1252ToUtf16(ansi); }
};

}  // namespace sympack::testing
