#include "report.h"

#include <array>
#include <cstdio>
#include <limits>

#include "fst4/fst4.h"

namespace fst4sim {

namespace {

constexpr double kSampleRate = FST4_SAMPLE_RATE;
constexpr std::size_t kMessageField = 37;   // "Message:" field width
constexpr std::size_t kSymbolsPerLine = 10;

// Column header printed above the bits of a type-1 message, and the widths
// of the groups c28 r1 c28 r1 R1 g15 i3 below it.
constexpr const char* kType1Header =
    "          mycall                         hiscall                    hisgrid";
constexpr std::array<std::size_t, 7> kType1Groups{28, 1, 28, 1, 1, 15, 3};

std::string MessageLine(const fst4::Encoding& encoding, bool wsprHint) {
  std::string text = encoding.decoded.substr(0, kMessageField);
  text.resize(kMessageField, ' ');
  const bool fst4w = encoding.mode == fst4::Mode::fst4w;
  return "Message: " + text + " W: " + (wsprHint ? "T" : "F") + " iwspr: " + (fst4w ? "1" : "0") + "\n";
}

std::string SettingsLine(const Settings& settings) {
  const double txt = static_cast<double>(fst4::kChannelSymbols) * SamplesPerSymbol(settings.trSeconds) / kSampleRate;
  return "f0:" + Fixed(settings.f0, 9, 3) + "   DT:" + Fixed(settings.dt, 6, 2) + "   TxT:" + Fixed(txt, 6, 1) +
         "   SNR:" + Fixed(settings.snr, 6, 1) + "\n";
}

// The information bits the reference reports: the FST4 word's positions,
// the shorter FST4W word padded with zeros, split into payload and CRC.
std::string BitsSection(const fst4::Encoding& encoding) {
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

std::string SymbolsSection(const fst4::Encoding& encoding) {
  std::string text = "Channel symbols: \n";
  for (std::size_t i = 0; i < encoding.symbols.size(); ++i) {
    text += static_cast<char>('0' + encoding.symbols[i]);
    if ((i + 1) % kSymbolsPerLine == 0) text += '\n';
  }
  return text;
}

}  // namespace

int SamplesPerSymbol(double trSeconds) {
  // Range first: a number beyond unsigned (or NaN) has no value to convert to.
  if (!(trSeconds >= 0 && trSeconds <= std::numeric_limits<unsigned>::max())) return 0;
  const auto whole = static_cast<unsigned>(trSeconds);
  return whole == trSeconds ? static_cast<int>(FST4_SAMPLES_PER_SYMBOL(whole)) : 0;
}

std::string Fixed(double value, int width, int decimals) {
  std::array<char, 64> buffer{};
  int length = std::snprintf(buffer.data(), buffer.size(), "%*.*f", width, decimals, value);
  if (length < 0 || length > width) return std::string(static_cast<std::size_t>(width), '*');
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string Report(const fst4::Encoding& encoding, const Settings& settings) {
  return "\n" + MessageLine(encoding, settings.wsprHint) + SettingsLine(settings) + "\n" + BitsSection(encoding) +
         "\n" + SymbolsSection(encoding) + "\n";
}

}  // namespace fst4sim
