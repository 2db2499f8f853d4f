#include "platform/mount_table_monitor.h"

#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace nodra {
namespace {

// 0: the mount made the descriptor readable and its changes were taken; 1: it did not; 2: no mount possible.
int mountSeen(const std::filesystem::path& at) {
  if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 2;
  MountTableMonitor monitor;
  if (!monitor.watching()) return 2;
  monitor.takeChanges();
  pollfd quiet{monitor.fd(), POLLIN, 0};
  if (::poll(&quiet, 1, 0) != 0) return 1;  // nothing changed yet
  if (::mount("tmpfs", at.c_str(), "tmpfs", 0, nullptr) != 0) return 2;
  pollfd changed{monitor.fd(), POLLIN, 0};
  if (::poll(&changed, 1, 2000) != 1 || !monitor.takeChanges()) return 1;
  pollfd drained{monitor.fd(), POLLIN, 0};
  return ::poll(&drained, 1, 0) == 0 ? 0 : 1;
}

TEST(MountTableMonitor, AMountMakesItReadableOnce) {
  testing::TempFolder folder;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(mountSeen(folder.path()));
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "no private mount namespace here";
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace nodra
