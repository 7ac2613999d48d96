// Presence checks, deletions and same-file tests by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/platform.h"
#include "destination/destination_guard.h"
#include "report/files.h"
#include "temp_folder.h"

namespace sympack::report {
namespace {

using destination::DestinationRefusal;
using destination::NamesSimulatorStandIn;
using destination::RefusalOf;
using testing::TempFolder;

struct FilesTest : ::testing::Test {
  TempFolder folder;
};

// Letter case counts exactly where the system counts it: another spelling is
// another file on POSIX, the same one on Windows. Presence, deletion and
// identity all agree.
TEST_F(FilesTest, LetterCaseIsFoldedOnlyWhereTheSystemFoldsIt) {
  const bool folds = testing::FileNamesFoldCase();
  TempFolder::Write("fst4sim.exe", "x");
  EXPECT_EQ(FileIsPresent(Host(), "FST4SIM.EXE"), folds);
  EXPECT_EQ(NameIsTaken(Host(), "FST4SIM.EXE"), folds);
  EXPECT_TRUE(FileIsPresent(Host(), "fst4sim.exe"));
  EXPECT_FALSE(FileIsPresent(Host(), "FST4TEMP.TXT"));
  TempFolder::Write("fst4temp.txt", "user's");
  EXPECT_EQ(NamesSameFile(Host(), "fst4temp.txt", "FST4TEMP.TXT"), folds);
  RemoveFile(Host(), "FST4TEMP.TXT");
  EXPECT_EQ(std::filesystem::exists("fst4temp.txt"), !folds);
}

TEST_F(FilesTest, FoldersAndHiddenFilesDoNotCount) {
  std::filesystem::create_directory("FST4SIM.EXE");
  EXPECT_FALSE(FileIsPresent(Host(), "FST4SIM.EXE"));
  TempFolder::Write(".hidden", "x");
  EXPECT_FALSE(FileIsPresent(Host(), ".hidden"));
  EXPECT_TRUE(NameIsTaken(Host(), "FST4SIM.EXE"));
  TempFolder::Write("plain", "x");
  EXPECT_TRUE(FileIsPresent(Host(), "plain"));
}

// A name may have a folder part, and is never a pattern: "sub/*.wav" does
// not find sub/a.wav.
TEST_F(FilesTest, NamesWithAFolderAndNoWildcards) {
  std::filesystem::create_directory("sub");
  TempFolder::Write("sub/a.wav", "x");
  EXPECT_TRUE(FileIsPresent(Host(), "sub/a.wav"));
  EXPECT_FALSE(FileIsPresent(Host(), "sub/*.wav"));
  EXPECT_FALSE(FileIsPresent(Host(), "sub/a.txt"));
  EXPECT_FALSE(FileIsPresent(Host(), ""));
}

TEST_F(FilesTest, DeleteRemovesMatchesAndIsSilentWhenThereAreNone) {
  TempFolder::Write("FST4TEMP.TXT", "x");
  TempFolder::Write("keep.txt", "x");
  RemoveFile(Host(), "FST4TEMP.TXT");
  EXPECT_FALSE(std::filesystem::exists("FST4TEMP.TXT"));
  EXPECT_TRUE(std::filesystem::exists("keep.txt"));
  RemoveFile(Host(), "nothing.here");
  RemoveFile(Host(), "");
  EXPECT_TRUE(std::filesystem::exists("keep.txt"));
}

TEST_F(FilesTest, DeleteStopsAtAReadOnlyFile) {
  TempFolder::Write("only.wav", "x");
  TempFolder::MakeReadOnly("only.wav");
  RemoveFile(Host(), "only.wav");
  EXPECT_TRUE(std::filesystem::exists("only.wav"));
}

TEST_F(FilesTest, DeletePassesOverFoldersAndHiddenFiles) {
  std::filesystem::create_directory("dir.tmp");
  TempFolder::Write(".x.tmp", "x");
  TempFolder::Write("y.tmp", "x");
  for (const char* name : {"dir.tmp", ".x.tmp", "y.tmp", "*.tmp"}) RemoveFile(Host(), name);
  EXPECT_TRUE(std::filesystem::exists("dir.tmp"));
  EXPECT_TRUE(std::filesystem::exists(".x.tmp"));
  EXPECT_FALSE(std::filesystem::exists("y.tmp"));
}

TEST_F(FilesTest, SameFileByAnyNameForIt) {
  TempFolder::Write("FST4TEMP.TXT", "x");
  TempFolder::Write("other.txt", "x");
  std::filesystem::create_directory("sub");
  EXPECT_TRUE(NamesSameFile(Host(), "sub/../FST4TEMP.TXT", "FST4TEMP.TXT"));
  EXPECT_FALSE(NamesSameFile(Host(), "other.txt", "FST4TEMP.TXT"));
  EXPECT_FALSE(NamesSameFile(Host(), "missing.txt", "FST4TEMP.TXT"));
}

TEST_F(FilesTest, AFileOpenWithoutSharingCannotBeOpenedAgainOrDeleted) {
  TempFolder::Write("FST4TEMP.TXT", "x");
  auto held = Host().OpenForReading(u"FST4TEMP.TXT");
  ASSERT_TRUE(held);
  EXPECT_FALSE(Host().OpenForReading(u"FST4TEMP.TXT"));
  RemoveFile(Host(), "FST4TEMP.TXT");
  EXPECT_TRUE(std::filesystem::exists("FST4TEMP.TXT"));
  held.reset();
  RemoveFile(Host(), "FST4TEMP.TXT");
  EXPECT_FALSE(std::filesystem::exists("FST4TEMP.TXT"));
}

// The simulator is called by its full name, FST4SIM.EXE: cmd.exe runs the
// file of exactly that name (any letter case, the trailing dots and blanks
// Windows drops), and a FST4SIM.COM or .BAT beside it is just a file. Only a
// PATHEXT without .EXE would make cmd.exe add an extension to the name.
TEST(SimulatorStandIn, TheFullNameOnlyWhileItsExtensionIsExecutable) {
  // Windows sets this list for every session.
  const std::u16string pathExt(u".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC");
  for (const std::u16string_view name : {u"FST4SIM.EXE", u"fst4sim.exe", u"Fst4Sim.Exe. .", u"FST4SIM.EXE..."}) {
    EXPECT_TRUE(NamesSimulatorStandIn(name, pathExt)) << std::string(name.begin(), name.end());
  }
  for (const std::u16string_view other : {u"FST4SIM", u"FST4SIM.", u"FST4SIM.COM", u"fst4sim.bat", u"FST4SIM.CMD",
                                          u"FST4SIM.EXE.COM", u"FST4SIM.EXEX", u"XFST4SIM.EXE", u"FST4SIM.TXT"}) {
    EXPECT_FALSE(NamesSimulatorStandIn(other, pathExt)) << std::string(other.begin(), other.end());
  }
  EXPECT_TRUE(NamesSimulatorStandIn(u"fst4sim.exe.py", u".PY;.COM"));  // the environment's own list
  EXPECT_FALSE(NamesSimulatorStandIn(u"FST4SIM.EXE", u".PY;.COM"));
  EXPECT_FALSE(NamesSimulatorStandIn(u"FST4SIM.EXE.BAT", u".PY;.COM"));
}

// cmd.exe looks for the simulator in the current folder only (it is there),
// so the same name in another folder is just a file.
TEST_F(FilesTest, StandInsAreRefusedInTheCurrentFolderOnly) {
  std::filesystem::create_directory("sub");
  for (const char* standIn : {"fst4sim.exe", "./FST4SIM.Exe", "sub/../FST4SIM.EXE"}) {
    EXPECT_EQ(RefusalOf(Host(), standIn), DestinationRefusal::kSimulator) << standIn;
  }
  EXPECT_EQ(RefusalOf(Host(), "sub/FST4SIM.EXE"), DestinationRefusal::kNone);
  EXPECT_EQ(RefusalOf(Host(), "FST4SIM.BAT"), DestinationRefusal::kNone);
  EXPECT_EQ(RefusalOf(Host(), "FST4.INC"), DestinationRefusal::kNone);
}

}  // namespace
}  // namespace sympack::report
