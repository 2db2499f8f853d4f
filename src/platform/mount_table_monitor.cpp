#include "platform/mount_table_monitor.h"

#include <libmount.h>

namespace nodra {

MountTableMonitor::MountTableMonitor() {
  monitor_ = mnt_new_monitor();
  if (monitor_ == nullptr) return;
  // The kernel's table; the userspace one (utab) also tells of mounts a helper finished later.
  if (mnt_monitor_enable_kernel(monitor_, 1) != 0) {
    mnt_unref_monitor(monitor_);
    monitor_ = nullptr;
    return;
  }
  mnt_monitor_enable_userspace(monitor_, 1, nullptr);
  fd_ = mnt_monitor_get_fd(monitor_);
  if (fd_ < 0) {
    mnt_unref_monitor(monitor_);
    monitor_ = nullptr;
  }
}

MountTableMonitor::~MountTableMonitor() {
  if (monitor_ != nullptr) mnt_unref_monitor(monitor_);
}

bool MountTableMonitor::takeChanges() {
  if (monitor_ == nullptr) return false;
  bool changed = false;
  const char* file = nullptr;
  int type = 0;
  while (mnt_monitor_next_change(monitor_, &file, &type) == 0) changed = true;
  return changed;
}

}  // namespace nodra
