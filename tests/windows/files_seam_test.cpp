// The host System's files on the Win32 API: finding entries, deletion,
// sharing, whole writes and devices, checked against what Windows itself does.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "scratch_folder.h"

namespace sympack::platform {
namespace {

using wintest::Exists;
using wintest::Host;
using wintest::ReadFileBytes;
using wintest::SetAttributes;
using wintest::WriteFileBytes;

struct FilesSeam : ::testing::Test {
  wintest::ScratchFolder folder;
};

// Every entry of the current folder, as Windows lists it.
std::vector<std::wstring> EntriesHere() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(L"*", &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// ---- Finding the entry of a name -------------------------------------------------------

TEST_F(FilesSeam, FindingIgnoresLetterCaseAndGivesTheStoredName) {
  WriteFileBytes(L"fst4sim.exe", "x");
  WriteFileBytes(L"b.WAV", "x");
  const auto simulator = Host().FindEntry(u"FST4SIM.EXE");
  ASSERT_TRUE(simulator.has_value());
  EXPECT_EQ(simulator->name, u"fst4sim.exe");
  const auto wave = Host().FindEntry(u"b.wav");
  ASSERT_TRUE(wave.has_value());
  EXPECT_EQ(wave->name, u"b.WAV");
  EXPECT_FALSE(Host().FindEntry(u"FST4TEMP.TXT").has_value());
}

TEST_F(FilesSeam, AttributesOfFoundEntries) {
  WriteFileBytes(L"hidden.txt", "x");
  SetAttributes(L"hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  WriteFileBytes(L"system.txt", "x");
  SetAttributes(L"system.txt", FILE_ATTRIBUTE_SYSTEM);
  CreateDirectoryW(L"folder.txt", nullptr);
  WriteFileBytes(L"plain.txt", "x");

  for (const std::u16string name : {u"hidden.txt", u"system.txt", u"folder.txt", u"plain.txt"}) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    const auto entry = Host().FindEntry(name);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->name, name);
    EXPECT_EQ(entry->plainFile, name == u"plain.txt");
  }
}

TEST_F(FilesSeam, ANameInAMissingFolderOrNoNameFindsNothing) {
  EXPECT_FALSE(Host().FindEntry(u"missing\\FST4SIM.EXE").has_value());
  EXPECT_FALSE(Host().FindEntry(u"").has_value());
}

TEST_F(FilesSeam, AnEntryInAFolderIsFoundUnderItsOwnName) {
  CreateDirectoryW(L"sub", nullptr);
  WriteFileBytes(L"sub\\one.wav", "x");
  const auto entry = Host().FindEntry(u"sub\\ONE.WAV");
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->name, u"one.wav");
}

// ---- Deletion ------------------------------------------------------------------------

TEST_F(FilesSeam, DeleteRemovesAPlainFileWhateverTheCase) {
  WriteFileBytes(L"FST4TEMP.TXT", "report");
  EXPECT_TRUE(Host().DeleteFileByName(u"fst4temp.txt"));
  EXPECT_FALSE(Exists(L"FST4TEMP.TXT"));
  EXPECT_FALSE(Host().DeleteFileByName(u"fst4temp.txt"));
}

TEST_F(FilesSeam, DeleteRefusesAReadOnlyFileAndAFolder) {
  WriteFileBytes(L"only.wav", "x");
  SetAttributes(L"only.wav", FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(Host().DeleteFileByName(u"only.wav"));
  EXPECT_TRUE(Exists(L"only.wav"));
  CreateDirectoryW(L"folder", nullptr);
  EXPECT_FALSE(Host().DeleteFileByName(u"folder"));
  EXPECT_TRUE(Exists(L"folder"));
}

TEST_F(FilesSeam, DeleteRefusesAFileHeldOpenWithoutSharing) {
  WriteFileBytes(L"FST4TEMP.TXT", "report");
  auto held = Host().OpenForReading(u"FST4TEMP.TXT");
  ASSERT_NE(held, nullptr);
  EXPECT_FALSE(Host().DeleteFileByName(u"FST4TEMP.TXT"));
  held.reset();
  EXPECT_TRUE(Host().DeleteFileByName(u"FST4TEMP.TXT"));
}

// ---- Opening, sharing and reading --------------------------------------------------------

TEST_F(FilesSeam, ReadingGivesTheBytesAsTheyAreThenZeroAtTheEnd) {
  const std::string bytes("a\r\nb\x1a\n\0c", 9);
  WriteFileBytes(L"FST4TEMP.TXT", bytes);
  auto file = Host().OpenForReading(u"fst4temp.TXT");
  ASSERT_NE(file, nullptr);
  char buffer[64];
  const auto got = file->Read(buffer, sizeof(buffer));
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(std::string(buffer, *got), bytes);
  EXPECT_EQ(file->Read(buffer, sizeof(buffer)), std::optional<std::size_t>(0));
}

TEST_F(FilesSeam, OpeningForReadingNeedsAnExistingFile) {
  EXPECT_EQ(Host().OpenForReading(u"missing.txt"), nullptr);
  EXPECT_FALSE(Exists(L"missing.txt"));
}

TEST_F(FilesSeam, NoSharingBlocksEverySecondOpen) {
  WriteFileBytes(L"report.txt", "x");
  auto first = Host().OpenForReading(u"report.txt");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Host().OpenForReading(u"REPORT.TXT"), nullptr);
  EXPECT_EQ(Host().WriteWholeFile(u"report.txt", "new").refusal, WriteRefusal::kHeldOpen);
  first.reset();
  EXPECT_EQ(ReadFileBytes(L"report.txt"), "x");
}

TEST_F(FilesSeam, AFileIsClosedWhenItsLastOwnerDropsIt) {
  WriteFileBytes(L"report.txt", "x");
  auto first = Host().OpenForReading(u"report.txt");
  auto second = std::move(first);
  EXPECT_EQ(first, nullptr);
  EXPECT_NE(second, nullptr);
  EXPECT_EQ(Host().OpenForReading(u"report.txt"), nullptr);  // still held by the new owner
  second = nullptr;
  EXPECT_NE(Host().OpenForReading(u"report.txt"), nullptr);  // closed when dropped
}

// ---- Writing whole ----------------------------------------------------------------------

TEST_F(FilesSeam, WritingWholeCreatesAMissingFileAndLeavesNothingElse) {
  const WholeFileWrite write = Host().WriteWholeFile(u"new.inc", "abc");
  EXPECT_EQ(write.refusal, WriteRefusal::kNone);
  EXPECT_TRUE(write.diskFile);
  EXPECT_EQ(ReadFileBytes(L"new.inc"), "abc");
  EXPECT_EQ(EntriesHere(), std::vector<std::wstring>{L"new.inc"});
}

TEST_F(FilesSeam, WritingWholeReplacesTheOldTextAndKeepsItsAttributes) {
  WriteFileBytes(L"old.inc", std::string(5000, 'z'));
  SetAttributes(L"old.inc", FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Host().WriteWholeFile(u"OLD.INC", "new").refusal, WriteRefusal::kNone);
  EXPECT_EQ(ReadFileBytes(L"old.inc"), "new");
  EXPECT_EQ(EntriesHere(), std::vector<std::wstring>{L"old.inc"});
  EXPECT_NE(GetFileAttributesW(L"old.inc") & FILE_ATTRIBUTE_HIDDEN, 0u) << "ReplaceFileW keeps the attributes";
}

TEST_F(FilesSeam, WritingWholeRefusesAndSaysWhy) {
  CreateDirectoryW(L"DIR.INC", nullptr);
  WriteFileBytes(L"locked.inc", "old");
  SetAttributes(L"locked.inc", FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Host().WriteWholeFile(u"DIR.INC", "x").refusal, WriteRefusal::kFolder);
  EXPECT_EQ(Host().WriteWholeFile(u"locked.inc", "x").refusal, WriteRefusal::kReadOnly);
  EXPECT_EQ(Host().WriteWholeFile(u"missing\\x.inc", "x").refusal, WriteRefusal::kNoFolder);
  for (const std::u16string_view device : {u"aux.inc", u"COM1.txt", u"nul.h", u"sub\\Con.inc"}) {
    EXPECT_EQ(Host().WriteWholeFile(device, "x").refusal, WriteRefusal::kReservedName);
  }
  EXPECT_EQ(Host().OpenForReading(u"DIR.INC"), nullptr);
  SetAttributes(L"locked.inc", FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(L"locked.inc"), "old");
  std::vector<std::wstring> entries = EntriesHere();
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::wstring>{L"DIR.INC", L"locked.inc"})) << "no new file is left";
}

TEST_F(FilesSeam, TheNulDeviceTakesBytesButIsNoDiskFile) {
  const WholeFileWrite write = Host().WriteWholeFile(u"NUL", "text");
  EXPECT_EQ(write.refusal, WriteRefusal::kNone);
  EXPECT_FALSE(write.diskFile);
  // Nothing was created in the folder.
  EXPECT_TRUE(EntriesHere().empty());
}

// A pipe whose reader never reads is given up after the time limit.
TEST_F(FilesSeam, APipeNobodyEmptiesIsGivenUp) {
  const HANDLE pipe = CreateNamedPipeW(L"\\\\.\\pipe\\sympack-seam-test", PIPE_ACCESS_INBOUND,
                                       PIPE_TYPE_BYTE | PIPE_WAIT, 1, 16, 16, 0, nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  const DWORD start = GetTickCount();
  const WholeFileWrite write = Host().WriteWholeFile(u"\\\\.\\pipe\\sympack-seam-test", std::string(1 << 20, 'x'));
  EXPECT_EQ(write.refusal, WriteRefusal::kTimedOut);
  EXPECT_LT(GetTickCount() - start, kDeviceWriteLimitMilliseconds + 3000);
  CloseHandle(pipe);
}

TEST_F(FilesSeam, TheReportIsReadOnlyWhenItIsAPlainFileOfOneName) {
  WriteFileBytes(L"FST4TEMP.TXT", "report");
  ASSERT_TRUE(CreateHardLinkW(L"other.txt", L"FST4TEMP.TXT", nullptr));
  EXPECT_EQ(Host().OpenForReading(u"FST4TEMP.TXT"), nullptr) << "a file with another name elsewhere";
  EXPECT_EQ(Host().OpenForReading(u"NUL"), nullptr);
}

// ---- One file under two names ----------------------------------------------------------------

TEST_F(FilesSeam, NamesOfTheSameFile) {
  WriteFileBytes(L"FST4TEMP.TXT", "x");
  WriteFileBytes(L"FST4.INC", "x");
  EXPECT_TRUE(Host().NamesSameFile(u"FST4TEMP.TXT", u"fst4temp.txt"));
  EXPECT_TRUE(Host().NamesSameFile(u".\\FST4TEMP.TXT", u"FST4TEMP.txt"));
  EXPECT_FALSE(Host().NamesSameFile(u"FST4TEMP.TXT", u"FST4.INC"));
  EXPECT_FALSE(Host().NamesSameFile(u"FST4TEMP.TXT", u"missing.txt"));
  EXPECT_FALSE(Host().NamesSameFile(u"missing.txt", u"missing.txt"));
  EXPECT_FALSE(Host().NamesSameFile(u"NUL", u"FST4TEMP.TXT"));
}

TEST_F(FilesSeam, NamesSameFileWorksWhileTheFileIsHeldWithoutSharing) {
  WriteFileBytes(L"FST4TEMP.TXT", "x");
  auto held = Host().OpenForReading(u"FST4TEMP.TXT");
  ASSERT_NE(held, nullptr);
  EXPECT_TRUE(Host().NamesSameFile(u"FST4TEMP.TXT", u"fst4temp.txt"));
}

}  // namespace
}  // namespace sympack::platform
