#include "report.h"

#include <array>
#include <cstdio>
#include <utility>

namespace fst4sim {

namespace {

constexpr double kSampleRate = 12000.0;
constexpr std::size_t kMessageField = 37;   // "Message:" field width
constexpr std::size_t kSymbolsPerLine = 10;

// Column header printed above the bits of a type-1 message, and the widths
// of the groups c28 r1 c28 r1 R1 g15 i3 below it.
constexpr const char* kType1Header =
    "          mycall                         hiscall                    hisgrid";
constexpr std::array<std::size_t, 7> kType1Groups{28, 1, 28, 1, 1, 15, 3};


std::string message_line(const fst4::Encoding& encoding, bool wspr_hint) {
  std::string text = encoding.decoded.substr(0, kMessageField);
  text.resize(kMessageField, ' ');
  bool fst4w = encoding.mode == fst4::Mode::fst4w;
  return "Message: " + text + " W: " + (wspr_hint ? "T" : "F") + " iwspr: " + (fst4w ? "1" : "0") + "\n";
}

std::string settings_line(const Settings& settings) {
  double txt = static_cast<double>(fst4::kChannelSymbols) * samples_per_symbol(settings.tr_seconds) / kSampleRate;
  return "f0:" + fixed(settings.f0, 9, 3) + "   DT:" + fixed(settings.dt, 6, 2) + "   TxT:" + fixed(txt, 6, 1) +
         "   SNR:" + fixed(settings.snr, 6, 1) + "\n";
}

// The information bits the reference reports: the FST4 word's positions,
// the shorter FST4W word padded with zeros, split into payload and CRC.
std::string bits_section(const fst4::Encoding& encoding) {
  std::string info = encoding.info_bits;
  info.resize(fst4::kInfoBits, '0');
  if (encoding.i3 == 1 && encoding.mode == fst4::Mode::fst4) {
    std::string line;
    std::size_t pos = 0;
    for (auto width : kType1Groups) {
      if (pos != 0) line += ' ';
      line += info.substr(pos, width);
      pos += width;
    }
    return std::string(kType1Header) + "\n" + line + "\n";
  }
  return "Message bits: \n" + info.substr(0, fst4::kPayloadBits) + " " + info.substr(fst4::kPayloadBits) + "\n";
}

std::string symbols_section(const fst4::Encoding& encoding) {
  std::string text = "Channel symbols: \n";
  for (std::size_t i = 0; i < encoding.symbols.size(); ++i) {
    text += static_cast<char>('0' + encoding.symbols[i]);
    if ((i + 1) % kSymbolsPerLine == 0) text += '\n';
  }
  return text;
}

}  // namespace

int samples_per_symbol(int tr_seconds) {
  static constexpr std::array<std::pair<int, int>, 7> kTable{
      {{15, 720}, {30, 1680}, {60, 3888}, {120, 8200}, {300, 21504}, {900, 66560}, {1800, 134400}}};
  for (auto [seconds, nsps] : kTable) {
    if (seconds == tr_seconds) return nsps;
  }
  return 0;
}

std::string fixed(double value, int width, int decimals) {
  std::array<char, 64> buffer{};
  int length = std::snprintf(buffer.data(), buffer.size(), "%*.*f", width, decimals, value);
  if (length < 0 || length > width) return std::string(static_cast<std::size_t>(width), '*');
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string report(const fst4::Encoding& encoding, const Settings& settings) {
  return "\n" + message_line(encoding, settings.wspr_hint) + settings_line(settings) + "\n" + bits_section(encoding) +
         "\n" + symbols_section(encoding) + "\n";
}

}  // namespace fst4sim
