#include "platform/volumes.h"

namespace nodra {

namespace {
// Placeholder until the mount-table scan lands: no removable volumes.
class NoVolumes final : public VolumeSource {
 public:
  std::vector<Volume> removableVolumes() override { return {}; }
  bool hasReadableMedium(const Volume&, const std::filesystem::path&) override { return false; }
};
}  // namespace

std::unique_ptr<VolumeSource> makeSystemVolumeSource() { return std::make_unique<NoVolumes>(); }

}  // namespace nodra
