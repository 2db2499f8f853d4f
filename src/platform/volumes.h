#pragma once
// The removable volumes that stand in for the Windows drive letters C..Z, in that fixed order.
#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace nodra {

struct Volume {
  std::filesystem::path root;  // mount point, or a folder named in NODRA3000_DRIVES
  std::string label;           // short Windows-1250 name for the status bar
  dev_t device = 0;            // 0 for folders named in NODRA3000_DRIVES
};

class VolumeSource {
 public:
  virtual ~VolumeSource() = default;
  // Candidates in drive-letter order. Failures on one volume are silent.
  virtual std::vector<Volume> removableVolumes() = 0;
  // Whether the medium answers: a card pulled out without unmounting must count as gone. `probeFile` is an
  // open regular file on the volume whose first bytes may be read from the medium itself.
  virtual bool hasReadableMedium(const Volume& volume, int probeFile) = 0;
};

// The folders of NODRA3000_DRIVES when that variable is set, otherwise the system's mount table.
std::unique_ptr<VolumeSource> makeVolumeSource();

}  // namespace nodra
