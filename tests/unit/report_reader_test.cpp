// Reading the symbol listing out of a report: line ends, byte 26, the three
// markers and the order they are tested in.
#include <gtest/gtest.h>

#include <cstring>

#include <memory>
#include <set>
#include <vector>

#include "report/carried_text.h"
#include "report/report_reader.h"
#include "command/upper_case.h"
#include "text/utf.h"
#include "vectors.h"

namespace sympack::report {
namespace {

// A report in memory, handed out at most `chunk` bytes per read; a read at
// `failAt` or past it fails.
ReadFunction ReaderOver(const std::string& bytes, std::size_t chunk = 1000, int* reads = nullptr,
                        std::size_t failAt = std::string::npos) {
  auto position = std::make_shared<std::size_t>(0);
  return [bytes, chunk, position, reads, failAt](char* buffer, std::size_t size) -> std::optional<std::size_t> {
    if (reads) ++*reads;
    if (*position >= failAt) return std::nullopt;
    const std::size_t n = std::min({size, chunk, bytes.size() - *position});
    std::memcpy(buffer, bytes.data() + *position, n);
    *position += n;
    return n;
  };
}

// The lines of a report read the way the tool reads it.
std::vector<std::string> Lines(const std::string& report, std::size_t chunk = 1000, std::size_t failAt = std::string::npos) {
  const std::string text = ReadReportBytes(ReaderOver(report, chunk, nullptr, failAt));
  const auto lines = ReportLines(text);
  return {lines.begin(), lines.end()};
}

using LineList = std::vector<std::string>;

std::optional<std::string> Collect(const std::string& report, std::size_t chunk = 1000) {
  return CollectSymbolText(ReadReportBytes(ReaderOver(report, chunk)));
}

TEST(ReadFileLine, CrLfCrAndAFinalLineWithoutEndReadAlike) {
  EXPECT_EQ(Lines("one\r\ntwo\rthree"), (LineList{"one", "two", "three"}));
  EXPECT_EQ(Lines("one\r\n"), (LineList{"one"}));
  EXPECT_EQ(Lines(""), LineList{});
}

TEST(ReadFileLine, ALoneLfIsAnOrdinaryByte) {
  EXPECT_EQ(Lines("01\n23\r\n"), (LineList{"01\n23"}));
}

TEST(ReadFileLine, CrLfSplitAcrossReadsIsOneLineEnd) {
  for (std::size_t chunk : {1u, 2u, 3u, 127u, 128u}) {
    const std::string first(127, 'a');
    // CR alone, then CR LF: an empty line between b and c.
    EXPECT_EQ(Lines(first + "\r\nb\r\r\nc", chunk), (LineList{first, "b", "", "c"})) << chunk;
  }
}

TEST(ReadFileLine, Byte26EndsTheLineAndTheFileForGood) {
  EXPECT_EQ(Lines("01\x1A" "23\r\n45\r\n"), (LineList{"01"}));
  for (std::size_t chunk : {1u, 3u, 1000u}) EXPECT_EQ(Lines("a\r\nb\x1A\r\nc\r\n", chunk), (LineList{"a", "b"})) << chunk;
}

TEST(ReadFileLine, ReadingStopsAtTheLimitAndDropsTheLineItCuts) {
  const std::string longLine(kMaxReportBytes - 2, '3');
  EXPECT_EQ(Lines(longLine + "\r\n", 1 << 30), LineList{longLine});
  EXPECT_EQ(Lines("ok\r\n" + longLine + "\r\n", 1 << 30), LineList{"ok"});
  // A report that never ends is read no further than the limit.
  int reads = 0;
  const std::string text = ReadReportBytes([&reads](char* buffer, std::size_t size) -> std::optional<std::size_t> {
    ++reads;
    std::memset(buffer, '\r', size);
    return size;
  });
  EXPECT_EQ(text.size(), kMaxReportBytes);
  EXPECT_LT(reads, 1000) << "read in blocks, not byte by byte";
}

TEST(ReadFileLine, AFailedReadDropsTheLineBeingRead) {
  EXPECT_EQ(Lines("ok\r\npartial line", 4, 8), (LineList{"ok"}));
  EXPECT_EQ(Lines("partial line", 4, 8), LineList{});
}

TEST(CollectSymbolText, LinesAfterTheHeaderUpToAnEmptyLine) {
  EXPECT_EQ(Collect("text\r\nChannel symbols: \r\n0123\r\n3210\r\n\r\nmore\r\n"), "01233210");
}

TEST(CollectSymbolText, AFileLineStopsWithoutBeingAdded) {
  EXPECT_EQ(Collect("x\r\nchannel symbols\r\n0123\r\n3210\r\nFile: a.wav\r\n0000\r\n"), "01233210");
}

TEST(CollectSymbolText, AChannelLineIsAddedAndThenStops) {
  EXPECT_EQ(Collect("Channel symbols\r\n0123\r\n3210\r\n0000 Channel\r\n1111\r\n"),
            "012332100000 Channel");
}

TEST(CollectSymbolText, FileIsTestedBeforeChannel) {
  EXPECT_EQ(Collect("Channel symbols\r\n0123\r\nFile Channel\r\n"), "0123");
}

TEST(CollectSymbolText, MarkersAreCaseSensitive) {
  EXPECT_EQ(Collect("CHANNEL SYMBOLS\r\n1111\r\n\r\n"), std::nullopt);
  EXPECT_EQ(Collect("Channel symbols\r\n0123\r\nfile FILE\r\nCHANNEL\r\n\r\n"),
            "0123file FILECHANNEL");
}

TEST(CollectSymbolText, BlanksAndOtherBytesInsideLinesStay) {
  EXPECT_EQ(Collect("Channel symbols\r\n0 1\t2\r\n"), "0 1\t2");
}

TEST(CollectSymbolText, Byte26InsideASymbolLineKeepsWhatCameBefore) {
  EXPECT_EQ(Collect("Channel symbols\r\n0123\r\n32\x1A" "10\r\n2222\r\n"), "012332");
}

TEST(CollectSymbolText, EmptyListings) {
  EXPECT_EQ(Collect("a\r\nChannel symbols"), "");
  EXPECT_EQ(Collect("Channel symbols\r\n\r\n0123\r\n"), "");
  EXPECT_EQ(Collect("Channel symbols\r\nFile\r\n0123\r\n"), "");
  EXPECT_EQ(Collect("Channel symbols: \r\n0123\r\n3210"), "01233210");  // ends without stop line
}

TEST(CollectSymbolText, NoHeaderMeansNoListingAndReadingStops) {
  EXPECT_EQ(Collect(""), std::nullopt);
  EXPECT_EQ(Collect("Message: CQ\r\n\r\n\r\n0123\r\n"), std::nullopt);
  EXPECT_EQ(Collect("hannel symbol\r\n0123\r\n"), std::nullopt);
}

TEST(CollectSymbolText, MarkersSplitBetweenReadsAreFound) {
  const std::string report = std::string(300, 'x') + "Channel symbols: \r\n0123\r\n32 Channel\r\n";
  const std::string withFile = "Channel symbols\r\n0123\r\nhannel Fi" + std::string("le\r\n");
  for (std::size_t chunk = 1; chunk <= 17; ++chunk) {
    EXPECT_EQ(Collect(report, chunk), "012332 Channel") << chunk;
    EXPECT_EQ(Collect(withFile, chunk), "0123") << chunk;
    EXPECT_EQ(Collect("Channel symbo\x1Als\r\n0123\r\n", chunk), std::nullopt) << chunk;
  }
}

TEST(CollectSymbolText, LfOnlyReportReadsAsOneLine) {
  // The header line swallows the whole report: nothing follows it.
  EXPECT_EQ(Collect("\nChannel symbols: \n0123\n3210\n\n"), "");
}

TEST(CollectSymbolText, TheReferenceReportLayout) {
  std::string report = "\r\n Message: CQ K1ABC FN42\r\n f0: 1500.000\r\n\r\nChannel symbols: \r\n";
  std::string expected;
  for (int row = 0; row < 16; ++row) {
    const std::string line = "0123210" + std::to_string(row % 10) + "12";
    report += line + "\r\n";
    expected += line;
  }
  report += "\r\n";
  for (std::size_t chunk : {1u, 7u, 128u}) EXPECT_EQ(Collect(report, chunk), expected);
}

// The reference vectors' messages whose decoded text is spelt otherwise but
// carries the message itself: a report as sign and two digits, a number
// without its leading zeros, a call with or without a hashed call's brackets.
// Every other vector whose decoded text is not the message (upper-cased,
// blanks collapsed) lost something: a cut, a changed character, a rounded
// report or power, a call part.
const std::set<std::string> kSpeltOtherwise = {
    "K1ABC W9XYZ -00", "K1ABC W9XYZ -5", "K1ABC W9XYZ +5", "K1ABC W9XYZ -9", "K1ABC W9XYZ R-9",
    "00000000000000000F", "K1ABC FN42 00", "K1ABC FN42 07", "W9XYZ K1ABC 579 1", "<K1ABC>",
    "CQ <K1ABC/P>", "CQ <PJ4/K1ABC>", "CQ <K1ABC/QRP>", "CQ <VE3/K1ABC>", "CQ <KH1/KH7Z>", "CQ <K1ABC/7>",
    "WA9XYZ/P KA1ABC 3C EMA", "TU; K1ABC/P W9XYZ 599 TX", "K1ABC/MM W9XYZ/MM 3C EMA"};

std::string Collapsed(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

TEST(CarriedText, EveryReferenceVectorIsAlarmedExactlyWhenItsTextLostSomething) {
  std::size_t vectors = 0, alarms = 0;
  for (const auto& row : fst4_test::read_tsv(FST4_VECTORS_FILE)) {
    ASSERT_GE(row.size(), 4u);
    const std::string sent = command::UpperCase(row[0], sympack::text::SingleByteCharacterLength, true);
    const std::string& decoded = row[3];
    // The report line the simulator prints gives the decoded text back.
    std::string line = "Message: " + decoded;
    line.resize(std::max<std::size_t>(line.size(), 46), ' ');
    EXPECT_EQ(DecodedTextOfLine(line + " W: " + row[1] + " iwspr: 0"), decoded) << row[0];
    EXPECT_FALSE(IsNoMessage(decoded)) << row[0];
    const bool carried = Collapsed(sent) == decoded || kSpeltOtherwise.count(row[0]) == 1;
    EXPECT_EQ(CarriesSameText(sent, decoded), carried) << row[0] << " decoded as " << decoded;
    ++vectors;
    alarms += carried ? 0 : 1;
  }
  EXPECT_GT(vectors, 400u);
  EXPECT_GT(alarms, 50u);
  for (const std::string_view mark : {kBadMessageMark, kUnknownHashMark, std::string_view("  ")}) {
    EXPECT_TRUE(IsNoMessage(mark)) << mark;
  }
  EXPECT_EQ(DecodedTextOfLine("Channel symbols: "), std::nullopt);
}

}  // namespace
}  // namespace sympack::report
