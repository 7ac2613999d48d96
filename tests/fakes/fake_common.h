// What the fake simulators share: the report of the real simulator for one
// message, byte-exact output, and a few knobs read from the environment.
// Standard library only (plus two C runtime calls on Windows), so that the
// fakes also build with MinGW for the Windows build's tests.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);
#else
#include <ctime>
#endif

namespace fake {

// What WSJT-X's fst4sim (2.6) prints, line by line without line ends, for
//   fst4sim "CQ K1ABC FN42" 120  1500 0.0   0 0 0 0 F
// The e2e tests hold the same lines (tests/e2e/fake_data.py) and check that
// both copies agree.
inline constexpr std::string_view kGoodReportLines[] = {
    "",
    "Message: CQ K1ABC FN42                         W: F iwspr: 0",
    "f0: 1500.000   DT:  0.00   TxT: 109.3   SNR:   0.0",
    "",
    "          mycall                         hiscall                    hisgrid",
    "0100101001011110100010011001 0 1001111110101100101011000111 1 0 111111010011110 100",
    "",
    "Channel symbols: ",
    "0132102310",
    "3311233031",
    "3110222113",
    "1113022123",
    "1032012233",
    "1233110210",
    "3331311303",
    "3203010132",
    "1023321132",
    "2021033021",
    "0303223311",
    "1000231032",
    "0102320213",
    "0222323103",
    "1213221131",
    "0101321023",
    "",
};

// Standard output takes every byte as it is, on Windows too (no LF to CR LF).
inline void BinaryOutput() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

inline void Out(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

inline std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

// FAKE_LINES: print only that many lines of the report, as a simulator that
// stops part way does.
inline std::size_t LinesAsked() {
  const std::string text = Environment("FAKE_LINES");
  return text.empty() ? static_cast<std::size_t>(-1) : std::strtoul(text.c_str(), nullptr, 10);
}

// FAKE_EXIT_CODE: the exit code to end with (0 when not set).
inline int ExitCodeAsked() { return std::atoi(Environment("FAKE_EXIT_CODE").c_str()); }

// The text the report's Message: line gives, as a simulator decodes its own
// symbols: FAKE_MESSAGE when set (a cut text, a bad-message mark), else the
// message received as the first argument, else the one the listing is for.
inline std::string DecodedText(int argc, char** argv) {
  if (const char* asked = std::getenv("FAKE_MESSAGE")) return asked;
  return argc > 1 ? std::string(argv[1]) : std::string("CQ K1ABC FN42");
}

// The Message: line in the real simulator's layout: the text in a field of
// 37 characters (a longer one whole), then the hint field.
inline std::string MessageLine(const std::string& decoded) {
  std::string line = "Message: " + decoded;
  if (decoded.size() < 37) line.append(37 - decoded.size(), ' ');
  return line + " W: F iwspr: 0";
}

// The report of the real simulator, every line ended by `lineEnd`, its
// Message: line giving `decoded`; FAKE_NO_MESSAGE_LINE leaves that line out,
// as a simulator that says nothing of what its symbols carry.
inline void WriteGoodReport(std::string_view lineEnd, const std::string& decoded = "CQ K1ABC FN42") {
  std::size_t left = LinesAsked();
  const bool messageLine = Environment("FAKE_NO_MESSAGE_LINE").empty();
  for (std::size_t at = 0; at < std::size(kGoodReportLines); ++at) {
    if (at == 1 && !messageLine) continue;
    if (left-- == 0) break;
    Out(at == 1 ? std::string_view(MessageLine(decoded)) : kGoodReportLines[at]);
    Out(lineEnd);
  }
  std::fflush(stdout);
}

// FAKE_SLEEP_MS: wait that long before printing, so that a test can type
// while the simulator runs.
inline void DelayIfAsked() {
  const std::string text = Environment("FAKE_SLEEP_MS");
  if (text.empty()) return;
  const unsigned long ms = std::strtoul(text.c_str(), nullptr, 10);
#ifdef _WIN32
  Sleep(ms);
#else
  timespec rest{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&rest, &rest) != 0) {
  }
#endif
}

// Writes bytes to a file in binary mode; false when it cannot.
inline bool WriteFile(const std::string& name, std::string_view bytes) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (!file) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace fake
