// Writing the include file: what ends up on disk, and what counts as written.
#include <gtest/gtest.h>

#include <filesystem>

#include "include_file/delivery.h"
#include "temp_folder.h"

namespace sympack::include_file {
namespace {

using testing::TempFolder;

struct WriteIncludeFileTest : ::testing::Test {
  TempFolder folder;
  // Any text: the writing does not look into it.
  const std::string text = ";     FST4 SYMBOLS Packed 4 per byte\r\n        de   0x1B, 0xE4, 0x10\r\n    ;   TEST\r\n\r\n";
};

TEST_F(WriteIncludeFileTest, TheTextAndOneMoreLineEnd) {
  ASSERT_TRUE(WriteIncludeFile(Host(), "FST4.INC", text).complete);
  const std::string written = TempFolder::Read("FST4.INC");
  EXPECT_EQ(written.size(), 87u);
  EXPECT_EQ(written, text + "\r\n");
  EXPECT_EQ(written.substr(written.size() - 18), "    ;   TEST\r\n\r\n\r\n");
}

TEST_F(WriteIncludeFileTest, ALongerExistingFileLosesItsOldTail) {
  TempFolder::Write("OUT.INC", std::string(5000, 'z'));
  ASSERT_TRUE(WriteIncludeFile(Host(), "OUT.INC", text).complete);
  EXPECT_EQ(TempFolder::Read("OUT.INC"), text + "\r\n");
}

// Another spelling is another file where the system says so (POSIX): the
// user's notes in fst4.inc stay as they were.
TEST_F(WriteIncludeFileTest, AnExistingFileIsFoundOnlyUnderItsOwnSpelling) {
  TempFolder::Write("fst4.inc", "old");
  ASSERT_TRUE(WriteIncludeFile(Host(), "FST4.INC", text).complete);
  EXPECT_EQ(TempFolder::Read("fst4.inc"), testing::FileNamesFoldCase() ? text + "\r\n" : "old");
}

TEST_F(WriteIncludeFileTest, AReadOnlyFileKeepsItsContent) {
  if (testing::ReadOnlyFilesWritableHere()) GTEST_SKIP() << "Wine run as root ignores read-only";
  TempFolder::Write("LOCKED.INC", "keep me");
  TempFolder::MakeReadOnly("LOCKED.INC");
  EXPECT_EQ(WriteIncludeFile(Host(), "LOCKED.INC", text).refusal, platform::WriteRefusal::kReadOnly);
  EXPECT_EQ(TempFolder::Read("LOCKED.INC"), "keep me");
}

TEST_F(WriteIncludeFileTest, RefusedNamesWriteNothing) {
  EXPECT_EQ(WriteIncludeFile(Host(), "*.INC", text).refusal, platform::WriteRefusal::kBadName);
  EXPECT_EQ(WriteIncludeFile(Host(), "FST?.INC", text).refusal, platform::WriteRefusal::kBadName);
  EXPECT_EQ(WriteIncludeFile(Host(), "", text).refusal, platform::WriteRefusal::kBadName);
  EXPECT_EQ(WriteIncludeFile(Host(), "missing/FST4.INC", text).refusal, platform::WriteRefusal::kNoFolder);
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::current_path()));
}

TEST_F(WriteIncludeFileTest, AFolderIsNotAFile) {
  std::filesystem::create_directory("DIR.INC");
  EXPECT_EQ(WriteIncludeFile(Host(), "DIR.INC", text).refusal, platform::WriteRefusal::kFolder);
}

// Cut to what the system takes, the name would be another file's (and lose
// its ending): such a name is refused whole.
TEST_F(WriteIncludeFileTest, ANameLongerThanTheSystemTakesIsRefusedNotCut) {
  const std::string name = std::string(300, 'n') + ".inc";
  EXPECT_EQ(WriteIncludeFile(Host(), name, text).refusal, platform::WriteRefusal::kNameTooLong);
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::current_path()));
}

TEST_F(WriteIncludeFileTest, DevicesGetTheTextWithoutTruncation) {
  if (!std::filesystem::exists("/dev/null")) GTEST_SKIP() << "no /dev/null here";
  EXPECT_TRUE(WriteIncludeFile(Host(), "/dev/null", text).complete);
}

TEST_F(WriteIncludeFileTest, AShortWriteIsNotReportedAsWritten) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const IncludeFileWrite write = WriteIncludeFile(Host(), "/dev/full", text);
  EXPECT_FALSE(write.complete);
  EXPECT_EQ(write.refusal, platform::WriteRefusal::kNoSpace);
}

}  // namespace
}  // namespace sympack::include_file
