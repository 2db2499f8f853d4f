#include "platform/volumes.h"

#include <cstdlib>
#include <string_view>

#include "platform/folder_list_source.h"
#include "platform/path_text.h"

namespace nodra {
namespace fs = std::filesystem;

FolderListSource::FolderListSource(std::string_view list) {
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

bool FolderListSource::hasReadableMedium(const Volume& volume, int) {
  std::error_code ec;
  return fs::is_directory(volume.root, ec);
}

std::unique_ptr<VolumeSource> makeSystemVolumeSource();

std::unique_ptr<VolumeSource> makeVolumeSource() {
  if (const char* list = std::getenv("NODRA3000_DRIVES"); list != nullptr) {
    return std::make_unique<FolderListSource>(list);
  }
  return makeSystemVolumeSource();
}

}  // namespace nodra
