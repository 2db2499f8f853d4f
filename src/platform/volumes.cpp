#include "platform/volumes.h"

#include <cstdlib>
#include <string_view>

#include "platform/path_text.h"

namespace nodra {
namespace fs = std::filesystem;

namespace {

// NODRA3000_DRIVES: a colon-separated list of folders, each taken as a removable drive with a medium.
class FolderListSource final : public VolumeSource {
 public:
  explicit FolderListSource(std::string_view list) {
    std::size_t pos = 0;
    while (pos <= list.size()) {
      std::size_t colon = list.find(':', pos);
      std::string_view item = list.substr(pos, colon == std::string_view::npos ? std::string_view::npos : colon - pos);
      pos = colon == std::string_view::npos ? list.size() + 1 : colon + 1;
      if (item.empty()) continue;
      fs::path root(item);
      std::string label = toDisplayText(root.filename().empty() ? root.parent_path().filename() : root.filename());
      volumes_.push_back({root, label.empty() ? std::string("/") : label, 0});
    }
  }
  std::vector<Volume> removableVolumes() override { return volumes_; }
  bool hasReadableMedium(const Volume& volume, int) override {
    std::error_code ec;
    return fs::is_directory(volume.root, ec);
  }

 private:
  std::vector<Volume> volumes_;
};

}  // namespace

std::unique_ptr<VolumeSource> makeSystemVolumeSource();

std::unique_ptr<VolumeSource> makeVolumeSource() {
  if (const char* list = std::getenv("NODRA3000_DRIVES"); list != nullptr) {
    return std::make_unique<FolderListSource>(list);
  }
  return makeSystemVolumeSource();
}

}  // namespace nodra
