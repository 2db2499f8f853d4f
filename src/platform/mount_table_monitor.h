#pragma once
// Changes of the system's mount table as a descriptor that becomes readable, for a window that wants to notice
// a card being mounted or unmounted without asking the volumes over and over.
#include <memory>

struct libmnt_monitor;

namespace nodra {

class MountTableMonitor {
 public:
  // Not watching when the system offers no such monitor; `watching` says.
  MountTableMonitor();
  ~MountTableMonitor();
  MountTableMonitor(const MountTableMonitor&) = delete;
  MountTableMonitor& operator=(const MountTableMonitor&) = delete;

  bool watching() const { return fd_ >= 0; }
  // Readable when the mount table has changed; -1 when not watching.
  int fd() const { return fd_; }
  // Takes the pending changes, so that the descriptor waits for the next; true when there were any.
  bool takeChanges();

 private:
  libmnt_monitor* monitor_ = nullptr;
  int fd_ = -1;
};

}  // namespace nodra
