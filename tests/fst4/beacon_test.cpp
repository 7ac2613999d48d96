// The beacon helpers of the fst4 library's C API: the locator of a
// position, the messages a beacon sends, and the timing of each period.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "decoded.h"
#include "fst4/fst4.h"

using fst4_test::decoded;

// The locator's cell holds the position: fields 20 x 10 degrees, squares
// 2 x 1, subsquares 5 x 2.5 minutes (Maidenhead); Boston is FN42LI.
TEST(BeaconHelpers, LocatorCellHoldsThePosition) {
  char grid[7];
  ASSERT_EQ(fst4_grid_locator(42360100, -71058900, 6, grid), 0);
  EXPECT_STREQ(grid, "FN42LI");
  ASSERT_EQ(fst4_grid_locator(42360100, -71058900, 4, grid), 0);
  EXPECT_STREQ(grid, "FN42");
  EXPECT_NE(fst4_grid_locator(90000001, 0, 6, grid), 0);
  std::mt19937 rng(6);
  for (int i = 0; i < 2000; ++i) {
    auto lat = static_cast<std::int32_t>(rng() % 180000001) - 90000000;
    auto lon = static_cast<std::int32_t>(rng() % 360000001) - 180000000;
    ASSERT_EQ(fst4_grid_locator(lat, lon, 6, grid), 0);
    double west = (grid[0] - 'A') * 20.0 + (grid[2] - '0') * 2.0 + (grid[4] - 'A') * (2.0 / 24) - 180;
    double south = (grid[1] - 'A') * 10.0 + (grid[3] - '0') * 1.0 + (grid[5] - 'A') * (1.0 / 24) - 90;
    EXPECT_TRUE(lon / 1e6 >= west - 1e-9 && lon / 1e6 <= west + 2.0 / 24 + 1e-9) << grid << " " << lon;
    EXPECT_TRUE(lat / 1e6 >= south - 1e-9 && lat / 1e6 <= south + 1.0 / 24 + 1e-9) << grid << " " << lat;
  }
}

// What the beacon helper proposes to send is what fst4w_encode sends as it
// is (with the hint for the second) and decodes as itself, a 6-char grid or
// compound call gets its second message, letter case is the same for call
// and grid, and what cannot go out as typed gives nothing.
TEST(BeaconHelpers, BeaconMessagesAreSentAsThemselves) {
  struct Case {
    const char* call;
    const char* grid;
    int count;
    const char* first;
    const char* second;
  };
  for (const Case& c : {Case{"K1ABC", "FN42", 1, "K1ABC FN42 33", ""},
                        Case{"K1ABC", "FN42LI", 2, "K1ABC FN42 33", "<K1ABC> FN42LI"},
                        Case{"PJ4/K1ABC", "FK52", 2, "PJ4/K1ABC 33", "<PJ4/K1ABC> FK52"},
                        Case{"G4ABC/P", "IO91NP", 2, "G4ABC/P 33", "<G4ABC/P> IO91NP"},
                        Case{"VK2AB", "QF56OD", 2, "VK2AB QF56 33", "<VK2AB> QF56OD"},
                        Case{"k1abc/7", "fn42li", 2, "K1ABC/7 33", "<K1ABC/7> FN42LI"},
                        Case{"k1abc", "Fn42", 1, "K1ABC FN42 33", ""},
                        Case{"RR9ABC", "RR99XX", 2, "RR9ABC RR99 33", "<RR9ABC> RR99XX"},
                        // A prefix or suffix the field cannot hold, or no call.
                        Case{"K1ABC/123", "FN42", 0, "", ""}, Case{"K1ABC/QRP", "FN42", 0, "", ""},
                        Case{"PJ4A/K1ABC", "FN42", 0, "", ""}, Case{"00/K1ABC", "FN42", 0, "", ""},
                        Case{"HELLO", "FN42", 0, "", ""},
                        // A grid that is no Maidenhead locator.
                        Case{"K1ABC", "FN42YY", 0, "", ""}, Case{"K1ABC", "ZZ99", 0, "", ""},
                        Case{"K1ABC", "SS42", 0, "", ""}, Case{"K1ABC", "1234", 0, "", ""},
                        Case{"K1ABC", "FN4", 0, "", ""}, Case{"K1ABC", "FN42L", 0, "", ""},
                        Case{"K1ABC", "FN42LIX", 0, "", ""}}) {
    char first[FST4_MAX_MESSAGE + 1] = "old";
    char second[FST4_MAX_MESSAGE + 1] = "old";
    std::uint8_t tones[FST4_CHANNEL_SYMBOLS];
    ASSERT_EQ(fst4w_beacon_messages(c.call, c.grid, 33, first, second), c.count) << c.call << ' ' << c.grid;
    EXPECT_STREQ(first, c.first);
    EXPECT_STREQ(second, c.second);
    if (c.count >= 1) {
      EXPECT_EQ(fst4w_encode(first, 0, tones), FST4_OK) << first;
      EXPECT_EQ(decoded(first), first);
    }
    if (c.count == 2) {
      EXPECT_EQ(fst4w_encode(second, 1, tones), FST4_OK) << second;
      EXPECT_EQ(decoded(second, true), second);
    }
  }
}

// Tone spacing equals the symbol rate (WSJT-X user guide, table "Parameters
// of Slow Modes": FST4-15 16.67 Hz ... FST4-1800 0.089 Hz), 160 symbols fit
// the T/R period after the 1 s start, and the run-time figures equal the
// compile-time ones. FST4W has the periods from 120 s.
TEST(BeaconHelpers, TimingOfEachPeriod) {
  struct Case {
    unsigned period;
    uint32_t microseconds;
    unsigned centihertz;
  };
  static_assert(FST4_SYMBOL_MICROSECONDS(120) == 683333UL, "a constant expression");
  static_assert(FST4W_PERIOD(120) && !FST4W_PERIOD(60) && !FST4W_PERIOD(100), "FST4W's periods");
  for (const Case& c : {Case{15, 60000, 1667}, Case{30, 140000, 714}, Case{60, 324000, 309}, Case{120, 683333, 146},
                        Case{300, 1792000, 56}, Case{900, 5546667, 18}, Case{1800, 11200000, 9}}) {
    fst4_timing timing{};
    ASSERT_EQ(fst4_period_timing(c.period, &timing), 0) << c.period;
    EXPECT_EQ(timing.period_seconds, c.period);
    EXPECT_EQ(timing.start_milliseconds, c.period == 15 ? 500u : 1000u);  // as WSJT-X's own audio starts
    EXPECT_EQ(timing.symbol_microseconds, c.microseconds) << c.period;
    EXPECT_EQ(timing.tone_spacing_centihertz, c.centihertz) << c.period;
    double symbol_seconds = timing.samples_per_symbol / 12000.0;
    EXPECT_NEAR(symbol_seconds * 1e6, timing.symbol_microseconds, 0.5) << c.period;
    EXPECT_NEAR(100 / symbol_seconds, timing.tone_spacing_centihertz, 0.5) << c.period;
    EXPECT_NEAR(160 * symbol_seconds * 1e3, timing.transmission_milliseconds, 0.5) << c.period;
    EXPECT_LT(timing.start_milliseconds + timing.transmission_milliseconds, c.period * 1000u) << c.period;
    fst4_timing fst4w{};
    EXPECT_EQ(fst4w_timing(c.period, &fst4w), c.period >= 120 ? 0 : -1) << c.period;
    if (c.period >= 120) {
      EXPECT_EQ(fst4w.transmission_milliseconds, timing.transmission_milliseconds) << c.period;
    }
  }
  fst4_timing timing{};
  for (unsigned period : {0u, 1u, 14u, 16u, 45u, 600u, 3600u, 65535u}) {
    EXPECT_EQ(fst4_period_timing(period, &timing), -1) << period;
    EXPECT_EQ(fst4w_timing(period, &timing), -1) << period;
  }
}
