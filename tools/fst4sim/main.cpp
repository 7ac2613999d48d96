// FST4SIM: prints the channel symbols of an FST4 or FST4W message in the
// report layout of WSJT-X's fst4sim, from our own encoder. No audio files.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "fst4/encoder.h"
#include "report.h"

namespace {

constexpr int kExpectedArguments = 9;
constexpr int kExitUsage = 1;
constexpr int kExitRefused = 2;

constexpr const char* kUsage =
    "Usage:    FST4SIM \"message\" TRsec f0 DT fdop del nfiles snr W\n"
    "Example:  FST4SIM \"K1JT K9AN EN50\" 120 1500 0.0 0 0 0 0 F\n"
    "  TRsec  T/R sequence length: 15, 30, 60, 120, 300, 900 or 1800\n"
    "  f0 DT  audio frequency (Hz) and time offset (s), shown in the report\n"
    "  fdop del  Doppler spread and delay: accepted, not used (no audio)\n"
    "  nfiles must be 0: this simulator prints the channel symbols only and\n"
    "         writes no .wav files\n"
    "  snr    shown in the report\n"
    "  W      T or F: hint to use the FST4W form \"<CALL> GRID\" when it fits\n";

std::optional<double> Number(const char* text) {
  char* end = nullptr;
  double value = std::strtod(text, &end);
  if (end == text) return std::nullopt;
  while (*end == ' ') ++end;
  if (*end != '\0') return std::nullopt;
  return value;
}

// Fortran logical input: optional '.', then T or F (any case).
std::optional<bool> Logical(const char* text) {
  std::string s(text);
  auto first = s.find_first_not_of(" .");
  if (first == std::string::npos) return std::nullopt;
  char c = s[first];
  if (c == 'T' || c == 't') return true;
  if (c == 'F' || c == 'f') return false;
  return std::nullopt;
}

int Fail(const std::string& message, int code) {
  std::cerr << "FST4SIM: " << message << "\n";
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != kExpectedArguments + 1) {
    std::cerr << "Need " << kExpectedArguments << " arguments, got " << argc - 1 << "\n" << kUsage;
    return kExitUsage;
  }
  std::optional<double> values[7];
  for (int i = 0; i < 7; ++i) values[i] = Number(argv[i + 2]);
  auto hint = Logical(argv[9]);
  for (int i = 0; i < 7; ++i) {
    if (!values[i]) return Fail(std::string("not a number: '") + argv[i + 2] + "'\n" + kUsage, kExitUsage);
  }
  if (!hint) return Fail(std::string("W must be T or F, got '") + argv[9] + "'", kExitUsage);

  if (fst4sim::SamplesPerSymbol(*values[0]) == 0) return Fail("Invalid TR sequence length.", kExitUsage);
  fst4sim::Settings settings;
  settings.trSeconds = static_cast<int>(*values[0]);  // one of the whole lengths
  settings.f0 = static_cast<float>(*values[1]);
  settings.dt = static_cast<float>(*values[2]);
  settings.snr = static_cast<float>(*values[6]);
  settings.wsprHint = *hint;
  if (*values[5] != 0) return Fail("nfiles must be 0: writing .wav files is not supported", kExitUsage);

  auto result = fst4::encode(argv[1], settings.wsprHint);
  if (!result.ok()) return Fail("cannot encode \"" + std::string(argv[1]) + "\": " + result.refusal, kExitRefused);
  std::string text = fst4sim::Report(*result.encoding, settings);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : kExitRefused;
}
