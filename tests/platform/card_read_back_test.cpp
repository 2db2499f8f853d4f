#include "platform/card_read_back.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

// Past the cache or through an emptied one (where the file system refuses O_DIRECT), on the disk and on
// tmpfs: each way tells a kept copy from a changed one, across read chunks.
TEST(CardReadBack, TellsAKeptCopyFromAChangedOne) {
  const std::string big(5 * 1024 * 1024 / 2 + 17, 'x');  // more than two read chunks, not block-aligned
  std::string bigChanged = big;
  bigChanged[1024 * 1024 + 3] = 'y';
  struct Case {
    const char* label;
    std::string written, read;
    ReadBack expected;
  } cases[] = {
      {"the same", "1;1.00;1.00;a\r\n", "1;1.00;1.00;a\r\n", ReadBack::Kept},
      {"both empty", "", "", ReadBack::Kept},
      {"a large file kept", big, big, ReadBack::Kept},
      {"one byte changed in the second chunk", big, bigChanged, ReadBack::Differs},
      {"cut short", big, big.substr(0, 4096), ReadBack::Differs},
      {"longer", "abc", "abcd", ReadBack::Differs},
      {"nothing kept", "abc", "", ReadBack::Differs},
  };
  std::vector<fs::path> scratch{fs::temp_directory_path()};
  if (fs::is_directory("/dev/shm")) scratch.emplace_back("/dev/shm");
  for (const fs::path& base : scratch) {
    testing::TempFolder folder(base, "nodra-read-back");
    for (ReadBackWay way : {ReadBackWay::PastTheCache, ReadBackWay::ThroughEmptiedCache}) {
      for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " in " + base.string() +
                     (way == ReadBackWay::PastTheCache ? ", past the cache" : ", through the cache"));
        testing::writeFile(folder.path() / "tmp_out.txt", c.written);
        testing::writeFile(folder.path() / "card" / "DATA" / "data_in.txt", c.read);
        FileError error;
        EXPECT_EQ(readBack(FilePlace::onCard(folder.path() / "card", "data\\data_in.txt"),
                           FilePlace::onPc(folder.path() / "tmp_out.txt"), error, way),
                  c.expected);
        EXPECT_FALSE(error.failed());
      }
    }
  }
}

TEST(CardReadBack, ACopyThatIsNoLongerAFileDoesNotRead) {
  testing::TempFolder folder;
  testing::writeFile(folder.path() / "tmp_out.txt", "abc");
  const fs::path card = folder.path() / "card";
  fs::create_directories(card / "DATA");
  const FilePlace copy = FilePlace::onCard(card, "data\\data_in.txt");
  const FilePlace source = FilePlace::onPc(folder.path() / "tmp_out.txt");
  FileError error;
  EXPECT_EQ(readBack(copy, source, error), ReadBack::Unreadable);  // missing
  ASSERT_EQ(::mkfifo((card / "DATA" / "data_in.txt").c_str(), 0600), 0);
  EXPECT_EQ(readBack(copy, source, error), ReadBack::Unreadable);  // a pipe, never opened
  EXPECT_TRUE(error.failed());
}

TEST(CardReadBack, RemovesAFileButNeverThroughALink) {
  testing::TempFolder folder;
  const fs::path card = folder.path() / "card";
  testing::writeFile(card / "DATA" / "data_in.txt", "broken");
  testing::writeFile(folder.path() / "outside.txt", "keep");
  FileError error;
  EXPECT_TRUE(removeCardFile(FilePlace::onCard(card, "data\\DATA_IN.TXT"), error));
  EXPECT_FALSE(fs::exists(card / "DATA" / "data_in.txt"));
  EXPECT_TRUE(removeCardFile(FilePlace::onCard(card, "data\\data_in.txt"), error));  // already gone

  fs::create_directory_symlink(folder.path(), card / "PROGRAM");
  EXPECT_FALSE(removeCardFile(FilePlace::onCard(card, "program\\outside.txt"), error));
  EXPECT_TRUE(error.failed());
  EXPECT_EQ(testing::readFile(folder.path() / "outside.txt"), "keep");
}

}  // namespace
}  // namespace nodra
