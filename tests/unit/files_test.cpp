// Presence checks, deletions and same-file tests by name.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "simulator/files.h"
#include "temp_folder.h"

namespace sympack::simulator {
namespace {

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
  EXPECT_EQ(FileIsPresent("FST4SIM.EXE"), folds);
  EXPECT_EQ(FileIsPresent("FST4SIM.*"), folds);
  EXPECT_TRUE(FileIsPresent("fst4sim.exe"));
  EXPECT_FALSE(FileIsPresent("FST4TEMP.TXT"));
  TempFolder::Write("fst4temp.txt", "user's");
  EXPECT_EQ(NamesSameFile("fst4temp.txt", "FST4TEMP.TXT"), folds);
  DeleteFiles("FST4TEMP.TXT");
  EXPECT_EQ(std::filesystem::exists("fst4temp.txt"), !folds);
}

TEST_F(FilesTest, FoldersAndHiddenFilesDoNotCount) {
  std::filesystem::create_directory("FST4SIM.EXE");
  EXPECT_FALSE(FileIsPresent("FST4SIM.EXE"));
  TempFolder::Write(".hidden", "x");
  EXPECT_FALSE(FileIsPresent(".hidden"));
  EXPECT_FALSE(FileIsPresent("*"));
  TempFolder::Write("plain", "x");
  EXPECT_TRUE(FileIsPresent("*"));
}

TEST_F(FilesTest, WildcardsAndDirectoryPatterns) {
  std::filesystem::create_directory("sub");
  TempFolder::Write("sub/a.wav", "x");
  EXPECT_TRUE(FileIsPresent("sub/*.wav"));
  EXPECT_TRUE(FileIsPresent("sub\\"));  // stands for every entry of the folder
  EXPECT_FALSE(FileIsPresent("sub/*.txt"));
  EXPECT_FALSE(FileIsPresent(""));
}

TEST_F(FilesTest, DeleteRemovesMatchesAndIsSilentWhenThereAreNone) {
  TempFolder::Write("FST4TEMP.TXT", "x");
  TempFolder::Write("keep.txt", "x");
  DeleteFiles("FST4TEMP.TXT");
  EXPECT_FALSE(std::filesystem::exists("FST4TEMP.TXT"));
  EXPECT_TRUE(std::filesystem::exists("keep.txt"));
  DeleteFiles("nothing.here");
  DeleteFiles("");
  EXPECT_TRUE(std::filesystem::exists("keep.txt"));
}

TEST_F(FilesTest, DeleteStopsAtAReadOnlyFile) {
  TempFolder::Write("only.wav", "x");
  TempFolder::MakeReadOnly("only.wav");
  DeleteFiles("only.wav");
  EXPECT_TRUE(std::filesystem::exists("only.wav"));
}

TEST_F(FilesTest, DeletePassesOverFoldersAndHiddenFiles) {
  std::filesystem::create_directory("dir.tmp");
  TempFolder::Write(".x.tmp", "x");
  TempFolder::Write("y.tmp", "x");
  DeleteFiles("*.tmp");
  EXPECT_TRUE(std::filesystem::exists("dir.tmp"));
  EXPECT_TRUE(std::filesystem::exists(".x.tmp"));
  EXPECT_FALSE(std::filesystem::exists("y.tmp"));
}

TEST_F(FilesTest, SameFileByAnyNameForIt) {
  TempFolder::Write("FST4TEMP.TXT", "x");
  TempFolder::Write("other.txt", "x");
  std::filesystem::create_directory("sub");
  EXPECT_TRUE(NamesSameFile("sub/../FST4TEMP.TXT", "FST4TEMP.TXT"));
  EXPECT_FALSE(NamesSameFile("other.txt", "FST4TEMP.TXT"));
  EXPECT_FALSE(NamesSameFile("missing.txt", "FST4TEMP.TXT"));
}

TEST_F(FilesTest, AFileOpenWithoutSharingCannotBeOpenedAgainOrDeleted) {
  TempFolder::Write("FST4TEMP.TXT", "x");
  platform::File held = platform::OpenForReading(u"FST4TEMP.TXT");
  ASSERT_TRUE(held.IsOpen());
  EXPECT_FALSE(platform::OpenForReading(u"FST4TEMP.TXT").IsOpen());
  DeleteFiles("FST4TEMP.TXT");
  EXPECT_TRUE(std::filesystem::exists("FST4TEMP.TXT"));
  held.Close();
  DeleteFiles("FST4TEMP.TXT");
  EXPECT_FALSE(std::filesystem::exists("FST4TEMP.TXT"));
}

}  // namespace
}  // namespace sympack::simulator
