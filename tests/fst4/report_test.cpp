// FST4SIM.EXE's report layout, compared with reports printed by WSJT-X's
// fst4sim for the same arguments.
#include <gtest/gtest.h>

#include <limits>

#include "fst4/encoder.h"
#include "report.h"

namespace {

// fst4sim "CQ K1ABC FN42" 120 1500 0.0 0 0 0 0 F
const char* const kType1Report =
    "\n"
    "Message: CQ K1ABC FN42                         W: F iwspr: 0\n"
    "f0: 1500.000   DT:  0.00   TxT: 109.3   SNR:   0.0\n"
    "\n"
    "          mycall                         hiscall                    hisgrid\n"
    "0100101001011110100010011001 0 1001111110101100101011000111 1 0 111111010011110 100\n"
    "\n"
    "Channel symbols: \n"
    "0132102310\n"
    "3311233031\n"
    "3110222113\n"
    "1113022123\n"
    "1032012233\n"
    "1233110210\n"
    "3331311303\n"
    "3203010132\n"
    "1023321132\n"
    "2021033021\n"
    "0303223311\n"
    "1000231032\n"
    "0102320213\n"
    "0222323103\n"
    "1213221131\n"
    "0101321023\n"
    "\n";

// fst4sim "K1ABC FN42 37" 15 1234.5678 -1.25 0 0 0 -20.5 T
const char* const kFst4wReport =
    "\n"
    "Message: K1ABC FN42 37                         W: T iwspr: 1\n"
    "f0: 1234.568   DT: -1.25   TxT:   9.6   SNR: -20.5\n"
    "\n"
    "Message bits: \n"
    "00001001101111011110001101010101000011001100101100011000110101011110011011000 000000000000000000000000\n"
    "\n"
    "Channel symbols: \n"
    "0132102300\n"
    "3132212302\n"
    "1111002020\n"
    "3201302123\n"
    "1032011123\n"
    "1323232303\n"
    "0132223312\n"
    "1322100132\n"
    "1023000312\n"
    "1120221323\n"
    "2033112312\n"
    "1102231032\n"
    "0110330000\n"
    "0221010012\n"
    "2331322123\n"
    "0101321023\n"
    "\n";

std::string report_for(const char* message, const fst4sim::Settings& settings) {
  auto result = fst4::encode(message, settings.wsprHint);
  EXPECT_TRUE(result.ok()) << result.refusal;
  return result.ok() ? fst4sim::Report(*result.encoding, settings) : std::string{};
}

}  // namespace

TEST(Report, Type1LayoutWithGroupedBits) {
  EXPECT_EQ(report_for("CQ K1ABC FN42", fst4sim::Settings{}), kType1Report);
}

TEST(Report, Fst4wLayoutWithSettingsLine) {
  fst4sim::Settings settings;
  settings.trSeconds = 15;
  settings.f0 = 1234.5678F;
  settings.dt = -1.25F;
  settings.snr = -20.5F;
  settings.wsprHint = true;
  EXPECT_EQ(report_for("K1ABC FN42 37", settings), kFst4wReport);
}

TEST(Report, FortranFixedFormat) {
  EXPECT_EQ(fst4sim::Fixed(1500.0, 9, 3), " 1500.000");
  EXPECT_EQ(fst4sim::Fixed(0.125, 6, 2), "  0.12");  // exact halves round to even, as gfortran
  EXPECT_EQ(fst4sim::Fixed(-0.125, 6, 2), " -0.12");
  EXPECT_EQ(fst4sim::Fixed(100000.0, 9, 3), "*********");
  EXPECT_EQ(fst4sim::Fixed(-1000.05, 6, 1), "******");
}

TEST(Report, TransmissionLengthsPerSequence) {
  EXPECT_EQ(fst4sim::SamplesPerSymbol(120), 8200);
  EXPECT_EQ(fst4sim::SamplesPerSymbol(1800), 134400);
  EXPECT_EQ(fst4sim::SamplesPerSymbol(45), 0);
  EXPECT_EQ(fst4sim::SamplesPerSymbol(0), 0);
  // Not whole, or with no int value: refused, never converted.
  EXPECT_EQ(fst4sim::SamplesPerSymbol(120.5), 0);
  EXPECT_EQ(fst4sim::SamplesPerSymbol(-120), 0);
  EXPECT_EQ(fst4sim::SamplesPerSymbol(1e30), 0);
  EXPECT_EQ(fst4sim::SamplesPerSymbol(4294967296.0 + 120), 0);
  EXPECT_EQ(fst4sim::SamplesPerSymbol(std::numeric_limits<double>::quiet_NaN()), 0);
}
