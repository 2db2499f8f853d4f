#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/cp1250.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

mode_t modeOf(const fs::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

using testing::FileSizeLimit;

std::string explain(const FileError& e) { return cp1250::toUtf8(fileErrorText(e)); }

TEST(AtomicFile, ReplacedFileKeepsAtMostItsReadAndWriteBits) {
  struct Case {
    mode_t before;
    mode_t after;  // under umask 022
  };
  const mode_t oldMask = ::umask(022);
  for (const Case& c : {Case{0666, 0644}, Case{0640, 0640}, Case{0600, 0600}, Case{0755, 0644}, Case{04755, 0644},
                        Case{02775, 0644}, Case{01777, 0644}, Case{0444 | 0200, 0644}}) {
    SCOPED_TRACE(c.before);
    testing::TempFolder folder;
    const fs::path target = folder.path() / "DATA_IN.TXT";
    testing::writeFile(target, "old content that is longer than the new one");
    ::chmod(target.c_str(), c.before);
    FileError e;
    ASSERT_TRUE(replaceFile(target, "new\r\n", e)) << explain(e);
    EXPECT_EQ(testing::readFile(target), "new\r\n");
    EXPECT_EQ(modeOf(target), c.after);
    EXPECT_EQ(testing::namesIn(folder.path()), std::set<std::string>{"DATA_IN.TXT"});
  }
  // A new file gets the usual mode.
  testing::TempFolder folder;
  FileError e;
  ASSERT_TRUE(replaceFile(folder.path() / "new.txt", "", e));
  EXPECT_EQ(modeOf(folder.path() / "new.txt"), mode_t{0644});
  EXPECT_EQ(testing::readFile(folder.path() / "new.txt"), "");
  ::umask(oldMask);
}

TEST(AtomicFile, StreamedWriteLargerThanTheBuffer) {
  testing::TempFolder folder;
  const fs::path target = folder.path() / "out.txt";
  std::string expected;
  AtomicFileWriter writer;
  FileError ec;
  ASSERT_TRUE(writer.open(target, ec));
  for (int i = 0; i < 20000; ++i) {
    std::string line = "line " + std::to_string(i) + "\r\n";
    if (i == 7000) line.assign(100000, 'x');  // one write larger than the whole buffer
    expected += line;
    ASSERT_TRUE(writer.write(line, ec));
  }
  // Nothing visible before the commit.
  EXPECT_FALSE(fs::exists(target));
  ASSERT_TRUE(writer.commit(ec)) << explain(ec);
  EXPECT_EQ(testing::readFile(target), expected);
  EXPECT_EQ(testing::namesIn(folder.path()), std::set<std::string>{"out.txt"});
}

TEST(AtomicFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  struct Case {
    const char* name;
    std::size_t size;  // small content fails at the commit's flush, large content in write() itself
  };
  for (const Case& c : {Case{"fails at commit", 5000}, Case{"fails while writing", 300000}}) {
    SCOPED_TRACE(c.name);
    testing::TempFolder folder;
    const fs::path target = folder.path() / "NODRA3000.ini";
    testing::writeFile(target, "[NODRA]\r\nAUTO=1\r\n");
    FileError ec;
    bool ok = true;
    {
      FileSizeLimit limit(1000);
      ok = replaceFile(target, std::string(c.size, 'a'), ec);
    }
    EXPECT_FALSE(ok);
    EXPECT_TRUE(ec.failed());
    EXPECT_EQ(testing::readFile(target), "[NODRA]\r\nAUTO=1\r\n");
    EXPECT_EQ(testing::namesIn(folder.path()), std::set<std::string>{"NODRA3000.ini"});
  }
}

TEST(AtomicFile, UncommittedWriteIsDiscarded) {
  testing::TempFolder folder;
  const fs::path target = folder.path() / "out.txt";
  testing::writeFile(target, "old");
  {
    AtomicFileWriter writer;
    FileError ec;
    ASSERT_TRUE(writer.open(target, ec));
    ASSERT_TRUE(writer.write(std::string(200000, 'n'), ec));
  }
  EXPECT_EQ(testing::readFile(target), "old");
  EXPECT_EQ(testing::namesIn(folder.path()), std::set<std::string>{"out.txt"});
}

TEST(AtomicFile, ProtectedTargetsAreRefused) {
  enum class Setup { ReadOnlyFile, ReadOnlyFolder, MissingFolder, TargetIsFolder };
  for (Setup setup : {Setup::ReadOnlyFile, Setup::ReadOnlyFolder, Setup::MissingFolder, Setup::TargetIsFolder}) {
    SCOPED_TRACE(static_cast<int>(setup));
    testing::TempFolder folder;
    fs::path target = folder.path() / "out.txt";
    testing::writeFile(target, "old");
    if (setup == Setup::ReadOnlyFile) ::chmod(target.c_str(), 0444);
    if (setup == Setup::ReadOnlyFolder) ::chmod(folder.path().c_str(), 0555);
    if (setup == Setup::MissingFolder) target = folder.path() / "gone" / "out.txt";
    if (setup == Setup::TargetIsFolder) target = folder.path();
    FileError ec;
    EXPECT_FALSE(replaceFile(target, "new", ec));
    EXPECT_FALSE(copyFileReplacing(folder.path() / "out.txt", target, ec));
    EXPECT_EQ(testing::readFile(folder.path() / "out.txt"), "old");
    EXPECT_EQ(testing::namesIn(folder.path()), std::set<std::string>{"out.txt"});
  }
}

TEST(AtomicFile, CopyReplacesOnlyWhenTheSourceCanBeRead) {
  testing::TempFolder folder;
  const fs::path source = folder.path() / "tmp_out.txt";
  const fs::path target = folder.path() / "data_in.txt";
  testing::writeFile(target, "old");
  FileError ec;
  EXPECT_FALSE(copyFileReplacing(source, target, ec));
  EXPECT_FALSE(copyFileReplacing(folder.path(), target, ec));
  EXPECT_EQ(testing::readFile(target), "old");

  std::string bytes;
  for (int i = 0; i < 256 * 700; ++i) bytes.push_back(static_cast<char>(i % 256));
  testing::writeFile(source, bytes);
  ASSERT_TRUE(copyFileReplacing(source, target, ec)) << explain(ec);
  EXPECT_EQ(testing::readFile(target), bytes);
  EXPECT_EQ(testing::namesIn(folder.path()), (std::set<std::string>{"data_in.txt", "tmp_out.txt"}));
}

TEST(AtomicFile, LeftoversOfInterruptedWritesGoAtTheNextWrite) {
  testing::TempFolder folder;
  const fs::path target = folder.path() / "data_in.txt";
  testing::writeFile(target, "old");
  testing::writeFile(folder.path() / "~ND01234.TMP", "torn");
  testing::writeFile(folder.path() / "~ND99999.TMP", "old");
  // Only the writer's own pattern: anything else beside the target is the user's.
  testing::writeFile(folder.path() / "~ND1234.TMP", "x");
  testing::writeFile(folder.path() / "notes.TMP", "x");
  FileError e;
  ASSERT_TRUE(replaceFile(target, "new", e)) << explain(e);
  EXPECT_EQ(testing::namesIn(folder.path()), (std::set<std::string>{"data_in.txt", "notes.TMP", "~ND1234.TMP"}));
}

// A writer kept open while others write in the same folder: their clean-up must not take its temporary.
TEST(AtomicFile, AnOpenWriterSurvivesOtherWritesInItsFolder) {
  testing::TempFolder folder;
  const fs::path later = folder.path() / "data_outn.txt";
  FileError e;
  AtomicFileWriter pending;
  ASSERT_TRUE(pending.open(later, e)) << explain(e);
  ASSERT_TRUE(pending.write("kept\r\n", e));
  ASSERT_TRUE(replaceFile(folder.path() / "zostavy.txt", "other", e)) << explain(e);
  ASSERT_TRUE(pending.commit(e)) << explain(e);
  EXPECT_EQ(testing::readFile(later), "kept\r\n");
  // Once committed it is no temporary any more: a later leftover of the same name goes as usual.
  testing::writeFile(folder.path() / "~ND00001.TMP", "torn");
  ASSERT_TRUE(replaceFile(folder.path() / "zostavy.txt", "again", e)) << explain(e);
  EXPECT_EQ(testing::namesIn(folder.path()), (std::set<std::string>{"data_outn.txt", "zostavy.txt"}));
}

TEST(AtomicFile, LinkedPcTargetIsReplacedWhereItPointsAndStaysALink) {
  testing::TempFolder folder;
  const fs::path real = folder.path() / "settings" / "nodra3000.ini";
  testing::writeFile(real, "old");
  const fs::path link = folder.path() / "nodra3000.ini";
  fs::create_symlink("settings/nodra3000.ini", link);
  FileError e;
  ASSERT_TRUE(replaceFile(link, "new", e)) << explain(e);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(testing::readFile(real), "new");
}

TEST(AtomicFile, OnlyARegularFileIsEverReplaced) {
  struct Case {
    const char* name;
    FileTrouble expected;
  };
  for (const Case& c :
       {Case{"fifo", FileTrouble::Fifo}, Case{"folder", FileTrouble::Folder}, Case{"cardLink", FileTrouble::Link}}) {
    SCOPED_TRACE(c.name);
    testing::TempFolder folder;
    const fs::path card = folder.path() / "card";
    fs::create_directories(card / "DATA");
    const fs::path outside = folder.path() / "outside.txt";
    testing::writeFile(outside, "private");
    FilePlace target;
    if (c.expected == FileTrouble::Fifo) {
      ASSERT_EQ(::mkfifo((folder.path() / "out.txt").c_str(), 0644), 0);
      target = folder.path() / "out.txt";
    } else if (c.expected == FileTrouble::Folder) {
      fs::create_directories(folder.path() / "out.txt");
      target = folder.path() / "out.txt";
    } else {
      fs::create_symlink(outside, card / "DATA" / "DATA_IN.TXT");
      target = FilePlace::onCard(card, "data\\data_in.txt");
    }
    FileError e;
    EXPECT_FALSE(replaceFile(target, "new", e));
    EXPECT_EQ(e.trouble, c.expected) << explain(e);
    EXPECT_EQ(testing::readFile(outside), "private");
  }
}

}  // namespace
}  // namespace nodra
