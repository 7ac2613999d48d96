// The file seam on the Win32 API: searches, deletion, sharing, truncation and
// devices, checked against what Windows itself does.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "scratch_folder.h"

namespace sympack::platform {
namespace {

using wintest::Exists;
using wintest::ReadFileBytes;
using wintest::SetAttributes;
using wintest::WriteFileBytes;

struct FilesSeam : ::testing::Test {
  wintest::ScratchFolder folder;
};

std::vector<DirectoryEntry> AllFound(std::u16string_view pattern) {
  EntrySearch search(pattern);
  std::vector<DirectoryEntry> entries;
  while (auto entry = search.Next()) entries.push_back(*entry);
  return entries;
}

std::vector<std::u16string> NamesFound(std::u16string_view pattern) {
  std::vector<std::u16string> names;
  for (const auto& entry : AllFound(pattern)) names.push_back(entry.name);
  return names;
}

// ---- Searches ----------------------------------------------------------------------

TEST_F(FilesSeam, SearchIgnoresLetterCaseAndGivesTheStoredName) {
  WriteFileBytes(L"fst4sim.exe", "x");
  EXPECT_EQ(NamesFound(u"FST4SIM.EXE"), std::vector<std::u16string>{u"fst4sim.exe"});
  EXPECT_TRUE(NamesFound(u"FST4TEMP.TXT").empty());
}

TEST_F(FilesSeam, WildcardsFindEveryMatchOnce) {
  WriteFileBytes(L"a.wav", "x");
  WriteFileBytes(L"b.WAV", "x");
  WriteFileBytes(L"c.txt", "x");
  auto names = NamesFound(u"*.wav");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"a.wav", u"b.WAV"}));
  EXPECT_EQ(NamesFound(u"?.txt"), std::vector<std::u16string>{u"c.txt"});
}

TEST_F(FilesSeam, AttributesOfFoundEntries) {
  WriteFileBytes(L"hidden.txt", "x");
  SetAttributes(L"hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  WriteFileBytes(L"system.txt", "x");
  SetAttributes(L"system.txt", FILE_ATTRIBUTE_SYSTEM);
  CreateDirectoryW(L"folder.txt", nullptr);
  WriteFileBytes(L"plain.txt", "x");

  for (const auto& entry : AllFound(u"*.txt")) {
    SCOPED_TRACE(std::string(entry.name.begin(), entry.name.end()));
    EXPECT_EQ(entry.hidden, entry.name == u"hidden.txt");
    EXPECT_EQ(entry.system, entry.name == u"system.txt");
    EXPECT_EQ(entry.directory, entry.name == u"folder.txt");
    EXPECT_FALSE(entry.volumeLabel);
  }
  EXPECT_EQ(AllFound(u"*.txt").size(), 4u);
}

TEST_F(FilesSeam, ASearchInAMissingFolderFindsNothing) {
  EXPECT_TRUE(AllFound(u"missing\\*.*").empty());
  EXPECT_TRUE(AllFound(u"").empty());
}

TEST_F(FilesSeam, AFolderPatternListsItsEntries) {
  CreateDirectoryW(L"sub", nullptr);
  WriteFileBytes(L"sub\\one.wav", "x");
  auto names = NamesFound(u"sub\\*.*");
  EXPECT_NE(std::find(names.begin(), names.end(), u"one.wav"), names.end());
}

// ---- Deletion ------------------------------------------------------------------------

TEST_F(FilesSeam, DeleteRemovesAPlainFileWhateverTheCase) {
  WriteFileBytes(L"FST4TEMP.TXT", "report");
  EXPECT_TRUE(DeleteFileByName(u"fst4temp.txt"));
  EXPECT_FALSE(Exists(L"FST4TEMP.TXT"));
  EXPECT_FALSE(DeleteFileByName(u"fst4temp.txt"));
}

TEST_F(FilesSeam, DeleteRefusesAReadOnlyFileAndAFolder) {
  WriteFileBytes(L"only.wav", "x");
  SetAttributes(L"only.wav", FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(DeleteFileByName(u"only.wav"));
  EXPECT_TRUE(Exists(L"only.wav"));
  CreateDirectoryW(L"folder", nullptr);
  EXPECT_FALSE(DeleteFileByName(u"folder"));
  EXPECT_TRUE(Exists(L"folder"));
}

TEST_F(FilesSeam, DeleteRefusesAFileHeldOpenWithoutSharing) {
  WriteFileBytes(L"FST4TEMP.TXT", "report");
  File held = OpenForReading(u"FST4TEMP.TXT");
  ASSERT_TRUE(held.IsOpen());
  EXPECT_FALSE(DeleteFileByName(u"FST4TEMP.TXT"));
  held.Close();
  EXPECT_TRUE(DeleteFileByName(u"FST4TEMP.TXT"));
}

// ---- Opening, sharing and reading --------------------------------------------------------

TEST_F(FilesSeam, ReadingGivesTheBytesAsTheyAreThenZeroAtTheEnd) {
  const std::string bytes("a\r\nb\x1a\n\0c", 9);
  WriteFileBytes(L"FST4TEMP.TXT", bytes);
  File file = OpenForReading(u"fst4temp.TXT");
  ASSERT_TRUE(file.IsOpen());
  EXPECT_TRUE(IsDiskFile(file));
  char buffer[64];
  const auto got = ReadBytes(file, buffer, sizeof(buffer));
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(std::string(buffer, *got), bytes);
  EXPECT_EQ(ReadBytes(file, buffer, sizeof(buffer)), std::optional<std::size_t>(0));
}

TEST_F(FilesSeam, OpeningForReadingNeedsAnExistingFile) {
  EXPECT_FALSE(OpenForReading(u"missing.txt").IsOpen());
  EXPECT_FALSE(Exists(L"missing.txt"));
}

TEST_F(FilesSeam, NoSharingBlocksEverySecondOpen) {
  WriteFileBytes(L"report.txt", "x");
  File first = OpenForReading(u"report.txt");
  ASSERT_TRUE(first.IsOpen());
  EXPECT_FALSE(OpenForReading(u"REPORT.TXT").IsOpen());
  EXPECT_FALSE(OpenOrCreateForWriting(u"report.txt").IsOpen());

  File writer = OpenOrCreateForWriting(u"out.inc");
  ASSERT_TRUE(writer.IsOpen());
  EXPECT_FALSE(OpenForReading(u"out.inc").IsOpen());
  EXPECT_FALSE(OpenOrCreateForWriting(u"OUT.INC").IsOpen());
}

TEST_F(FilesSeam, AMovedFromFileNoLongerOwnsTheHandle) {
  WriteFileBytes(L"report.txt", "x");
  File first = OpenForReading(u"report.txt");
  File second = std::move(first);
  EXPECT_FALSE(first.IsOpen());
  EXPECT_TRUE(second.IsOpen());
  second = File();
  EXPECT_TRUE(OpenForReading(u"report.txt").IsOpen());  // closed by the move-assignment
}

// ---- Writing and truncation ----------------------------------------------------------------

TEST_F(FilesSeam, WritingCreatesAMissingFile) {
  File file = OpenOrCreateForWriting(u"new.inc");
  ASSERT_TRUE(file.IsOpen());
  EXPECT_EQ(WriteBytes(file, "abc"), std::optional<std::size_t>(3));
  file.Close();
  EXPECT_EQ(ReadFileBytes(L"new.inc"), "abc");
}

TEST_F(FilesSeam, TruncateToStartEmptiesAnExistingFile) {
  WriteFileBytes(L"old.inc", std::string(5000, 'z'));
  File file = OpenOrCreateForWriting(u"old.inc");
  ASSERT_TRUE(file.IsOpen());
  EXPECT_TRUE(TruncateToStart(file));
  EXPECT_EQ(WriteBytes(file, "new"), std::optional<std::size_t>(3));
  file.Close();
  EXPECT_EQ(ReadFileBytes(L"old.inc"), "new");
}

TEST_F(FilesSeam, TruncateHereCutsTheOldTail) {
  WriteFileBytes(L"old.inc", "0123456789");
  File file = OpenOrCreateForWriting(u"old.inc");
  ASSERT_TRUE(file.IsOpen());
  EXPECT_EQ(WriteBytes(file, "abc"), std::optional<std::size_t>(3));
  EXPECT_TRUE(TruncateHere(file));
  file.Close();
  EXPECT_EQ(ReadFileBytes(L"old.inc"), "abc");
}

TEST_F(FilesSeam, AFolderCannotBeOpenedAsAFile) {
  CreateDirectoryW(L"DIR.INC", nullptr);
  EXPECT_FALSE(OpenOrCreateForWriting(u"DIR.INC").IsOpen());
  EXPECT_FALSE(OpenForReading(u"DIR.INC").IsOpen());
}

TEST_F(FilesSeam, TheNulDeviceTakesBytesButIsNoDiskFile) {
  File device = OpenOrCreateForWriting(u"NUL");
  ASSERT_TRUE(device.IsOpen());
  EXPECT_FALSE(IsDiskFile(device));
  EXPECT_EQ(WriteBytes(device, "text"), std::optional<std::size_t>(4));
  device.Close();
  // Nothing was created in the folder.
  for (const auto& name : NamesFound(u"*")) EXPECT_TRUE(name == u"." || name == u"..");
}

TEST_F(FilesSeam, WritingAClosedFileFails) {
  File none;
  EXPECT_FALSE(IsDiskFile(none));
  EXPECT_FALSE(WriteBytes(none, "x").has_value());
  char buffer[4];
  EXPECT_FALSE(ReadBytes(none, buffer, sizeof(buffer)).has_value());
}

// ---- One file under two names ----------------------------------------------------------------

TEST_F(FilesSeam, NamesOfTheSameFile) {
  WriteFileBytes(L"FST4TEMP.TXT", "x");
  WriteFileBytes(L"FST4.INC", "x");
  EXPECT_TRUE(NamesSameFile(u"FST4TEMP.TXT", u"fst4temp.txt"));
  EXPECT_TRUE(NamesSameFile(u".\\FST4TEMP.TXT", u"FST4TEMP.txt"));
  EXPECT_FALSE(NamesSameFile(u"FST4TEMP.TXT", u"FST4.INC"));
  EXPECT_FALSE(NamesSameFile(u"FST4TEMP.TXT", u"missing.txt"));
  EXPECT_FALSE(NamesSameFile(u"missing.txt", u"missing.txt"));
  EXPECT_FALSE(NamesSameFile(u"NUL", u"FST4TEMP.TXT"));
}

TEST_F(FilesSeam, NamesSameFileWorksWhileTheFileIsHeldWithoutSharing) {
  WriteFileBytes(L"FST4TEMP.TXT", "x");
  File held = OpenForReading(u"FST4TEMP.TXT");
  ASSERT_TRUE(held.IsOpen());
  EXPECT_TRUE(NamesSameFile(u"FST4TEMP.TXT", u"fst4temp.txt"));
}

}  // namespace
}  // namespace sympack::platform
