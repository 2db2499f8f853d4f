#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <string>

#include "test_files.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

mode_t modeOf(const fs::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// Lets no file of this process grow past `limit` bytes, as a full card would; writes past it fail with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = old_;
    lowered.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit old_{};
  void (*previousHandler_)(int) = nullptr;
};

TEST(AtomicFile, ReplacesContentAndKeepsTheMode) {
  const mode_t oldMask = ::umask(022);
  for (mode_t mode : {mode_t{0666}, mode_t{0640}, mode_t{0600}, mode_t{0755}}) {
    SCOPED_TRACE(mode);
    test::TempFolder folder;
    const fs::path target = folder.path() / "DATA_IN.TXT";
    test::writeFile(target, "old content that is longer than the new one");
    ::chmod(target.c_str(), mode);
    std::error_code ec;
    ASSERT_TRUE(replaceFile(target, "new\r\n", ec)) << ec.message();
    EXPECT_EQ(test::readFile(target), "new\r\n");
    EXPECT_EQ(modeOf(target), mode);
    EXPECT_EQ(test::namesIn(folder.path()), std::set<std::string>{"DATA_IN.TXT"});
  }
  // A new file gets the usual mode.
  test::TempFolder folder;
  std::error_code ec;
  ASSERT_TRUE(replaceFile(folder.path() / "new.txt", "", ec));
  EXPECT_EQ(modeOf(folder.path() / "new.txt"), mode_t{0644});
  EXPECT_EQ(test::readFile(folder.path() / "new.txt"), "");
  ::umask(oldMask);
}

TEST(AtomicFile, StreamedWriteLargerThanTheBuffer) {
  test::TempFolder folder;
  const fs::path target = folder.path() / "out.txt";
  std::string expected;
  AtomicFileWriter writer;
  std::error_code ec;
  ASSERT_TRUE(writer.open(target, ec));
  for (int i = 0; i < 20000; ++i) {
    std::string line = "line " + std::to_string(i) + "\r\n";
    if (i == 7000) line.assign(100000, 'x');  // one write larger than the whole buffer
    expected += line;
    ASSERT_TRUE(writer.write(line, ec));
  }
  // Nothing visible before the commit.
  EXPECT_FALSE(fs::exists(target));
  ASSERT_TRUE(writer.commit(ec)) << ec.message();
  EXPECT_EQ(test::readFile(target), expected);
  EXPECT_EQ(test::namesIn(folder.path()), std::set<std::string>{"out.txt"});
}

TEST(AtomicFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  struct Case {
    const char* name;
    std::size_t size;  // small content fails at the commit's flush, large content in write() itself
  };
  for (const Case& c : {Case{"fails at commit", 5000}, Case{"fails while writing", 300000}}) {
    SCOPED_TRACE(c.name);
    test::TempFolder folder;
    const fs::path target = folder.path() / "NODRA3000.ini";
    test::writeFile(target, "[NODRA]\r\nAUTO=1\r\n");
    std::error_code ec;
    bool ok = true;
    {
      FileSizeLimit limit(1000);
      ok = replaceFile(target, std::string(c.size, 'a'), ec);
    }
    EXPECT_FALSE(ok);
    EXPECT_TRUE(ec);
    EXPECT_EQ(test::readFile(target), "[NODRA]\r\nAUTO=1\r\n");
    EXPECT_EQ(test::namesIn(folder.path()), std::set<std::string>{"NODRA3000.ini"});
  }
}

TEST(AtomicFile, UncommittedWriteIsDiscarded) {
  test::TempFolder folder;
  const fs::path target = folder.path() / "out.txt";
  test::writeFile(target, "old");
  {
    AtomicFileWriter writer;
    std::error_code ec;
    ASSERT_TRUE(writer.open(target, ec));
    ASSERT_TRUE(writer.write(std::string(200000, 'n'), ec));
  }
  EXPECT_EQ(test::readFile(target), "old");
  EXPECT_EQ(test::namesIn(folder.path()), std::set<std::string>{"out.txt"});
}

TEST(AtomicFile, ProtectedTargetsAreRefused) {
  enum class Setup { ReadOnlyFile, ReadOnlyFolder, MissingFolder, TargetIsFolder };
  for (Setup setup : {Setup::ReadOnlyFile, Setup::ReadOnlyFolder, Setup::MissingFolder, Setup::TargetIsFolder}) {
    SCOPED_TRACE(static_cast<int>(setup));
    test::TempFolder folder;
    fs::path target = folder.path() / "out.txt";
    test::writeFile(target, "old");
    if (setup == Setup::ReadOnlyFile) ::chmod(target.c_str(), 0444);
    if (setup == Setup::ReadOnlyFolder) ::chmod(folder.path().c_str(), 0555);
    if (setup == Setup::MissingFolder) target = folder.path() / "gone" / "out.txt";
    if (setup == Setup::TargetIsFolder) target = folder.path();
    std::error_code ec;
    EXPECT_FALSE(replaceFile(target, "new", ec));
    EXPECT_FALSE(copyFileReplacing(folder.path() / "out.txt", target, ec));
    EXPECT_EQ(test::readFile(folder.path() / "out.txt"), "old");
    EXPECT_EQ(test::namesIn(folder.path()), std::set<std::string>{"out.txt"});
  }
}

TEST(AtomicFile, CopyReplacesOnlyWhenTheSourceCanBeRead) {
  test::TempFolder folder;
  const fs::path source = folder.path() / "tmp_out.txt";
  const fs::path target = folder.path() / "data_in.txt";
  test::writeFile(target, "old");
  std::error_code ec;
  EXPECT_FALSE(copyFileReplacing(source, target, ec));
  EXPECT_FALSE(copyFileReplacing(folder.path(), target, ec));
  EXPECT_EQ(test::readFile(target), "old");

  std::string bytes;
  for (int i = 0; i < 256 * 700; ++i) bytes.push_back(static_cast<char>(i % 256));
  test::writeFile(source, bytes);
  ASSERT_TRUE(copyFileReplacing(source, target, ec)) << ec.message();
  EXPECT_EQ(test::readFile(target), bytes);
  EXPECT_EQ(test::namesIn(folder.path()), (std::set<std::string>{"data_in.txt", "tmp_out.txt"}));
}

}  // namespace
}  // namespace nodra
