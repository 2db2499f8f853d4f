#pragma once
// The removable volumes the desktop would offer: mounted file systems from the mount table whose disk sysfs
// describes as removable (the removable bit, a USB or FireWire bus, an SD card), one entry per device.
#include <filesystem>
#include <memory>

#include "platform/volumes.h"

namespace nodra {

class SystemVolumeSource final : public VolumeSource {
 public:
  // Both roots are parameters so that a test can build a mount table and a sysfs tree of its own.
  explicit SystemVolumeSource(std::filesystem::path mountTable = "/proc/self/mountinfo",
                              std::filesystem::path sysfsRoot = "/sys");

  // Ordered as the drive letters stand in for: disk name in natural order (sdz before sdaa), partition
  // number, mount point. Only mounts of a device's root ("/"); bind mounts are skipped.
  std::vector<Volume> removableVolumes() override;
  // The device is still in sysfs with a size above 0, and the first bytes of `probeFile` come from the
  // medium itself, not from the cache: a card pulled out without unmounting counts as gone.
  bool hasReadableMedium(const Volume& volume, int probeFile) override;

 private:
  std::filesystem::path mountTable_;
  std::filesystem::path sysfsRoot_;
};

std::unique_ptr<VolumeSource> makeSystemVolumeSource();

// Kernel disk names in the order the kernel hands them out: "sdz" < "sdaa", "mmcblk2" < "mmcblk10".
bool naturalNameLess(std::string_view a, std::string_view b);

}  // namespace nodra
