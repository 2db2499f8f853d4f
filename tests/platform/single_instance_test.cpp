#include "platform/single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <functional>
#include <iostream>

#include "support/temp_folder.h"

namespace nodra {
namespace {
namespace fs = std::filesystem;

using State = SingleInstance::State;

// What may stand at the lock's place; only the user's own plain file in the user's own folder is trusted.
TEST(SingleInstance, TakesOnlyAFileOfTheUsersOwnAndNeverRunsUnguarded) {
  struct Case {
    const char* label;
    std::function<bool(const fs::path& folder)> arrange;  // false: the machine does not allow the scene
    State expected;
  };
  const Case cases[] = {
      {"nothing there yet", [](const fs::path&) { return true; }, State::Acquired},
      {"an old lock file",
       [](const fs::path& f) {
         testing::writeFile(f / "NODRA3000MTX", "");
         return true;
       },
       State::Acquired},
      {"a link planted at its name",
       [](const fs::path& f) {
         testing::writeFile(f / "victim", "keep");
         fs::create_symlink(f / "victim", f / "NODRA3000MTX");
         return true;
       },
       State::Unsafe},
      {"a pipe at its name", [](const fs::path& f) { return ::mkfifo((f / "NODRA3000MTX").c_str(), 0600) == 0; },
       State::Unsafe},
      {"another user's file",
       [](const fs::path& f) {
         testing::writeFile(f / "NODRA3000MTX", "");
         return ::chown((f / "NODRA3000MTX").c_str(), 65534, 65534) == 0;
       },
       State::Unsafe},
      {"a folder anybody may write into", [](const fs::path& f) { return ::chmod(f.c_str(), 01777) == 0; },
       State::Unsafe},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    testing::TempFolder folder;
    const fs::path locks = folder.path() / "locks";
    fs::create_directories(locks);
    ::chmod(locks.c_str(), 0700);
    if (!c.arrange(locks)) {
      std::cout << "this machine does not allow " << c.label << ": not tried\n";
      continue;
    }
    SingleInstance guard(locks, "NODRA3000MTX");
    EXPECT_EQ(guard.state(), c.expected) << guard.problem();
    if (c.expected == State::Unsafe) {
      EXPECT_FALSE(guard.problem().empty());
    }
    if (fs::exists(locks / "victim")) {
      EXPECT_EQ(testing::readFile(locks / "victim"), "keep");
    }
  }
}

TEST(SingleInstance, ASecondHolderIsRefusedUntilTheFirstEnds) {
  testing::TempFolder folder;
  ::chmod(folder.path().c_str(), 0700);
  auto first = std::make_unique<SingleInstance>(folder.path(), "NODRA3000MTX");
  ASSERT_TRUE(first->acquired());
  // Another process: flock locks belong to the open file, so a second open stands for it.
  const int other = ::open((folder.path() / "NODRA3000MTX").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(other, 0);
  EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_EQ(SingleInstance(folder.path(), "NODRA3000MTX").state(), State::HeldElsewhere);
  first.reset();
  EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  ::close(other);
}

}  // namespace
}  // namespace nodra
