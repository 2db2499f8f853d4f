#include "platform/volume_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/cp1250.h"

namespace nodra {
namespace fs = std::filesystem;

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<std::string> findEntry(const fs::path& folder, const std::string& name) {
  struct stat st {};
  if (::lstat((folder / name).c_str(), &st) == 0) return name;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> best;
  while (dirent* entry = ::readdir(dir)) {
    std::string_view candidate = entry->d_name;
    if (sameIgnoringCase(candidate, name) && (!best || candidate < *best)) best = std::string(candidate);
  }
  ::closedir(dir);
  return best;
}

}  // namespace

fs::path resolveOnVolume(const fs::path& root, std::string_view relative) {
  struct Component {
    std::string name;
    bool found;
  };
  std::vector<Component> components;
  std::size_t pos = 0;
  while (pos <= relative.size()) {
    // Windows takes "/" as a separator too.
    std::size_t next = relative.find_first_of("\\/", pos);
    std::string_view part = relative.substr(pos, next == std::string_view::npos ? std::string_view::npos : next - pos);
    pos = next == std::string_view::npos ? relative.size() + 1 : next + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      // As on a drive, ".." at the root stays there: a path never leaves the volume.
      if (!components.empty()) components.pop_back();
      continue;
    }
    std::string name = cp1250::toUtf8(part);
    if (components.empty() || components.back().found) {
      fs::path folder = root;
      for (const Component& c : components) folder /= c.name;
      if (auto existing = findEntry(folder, name)) {
        components.push_back({*existing, true});
        continue;
      }
    }
    components.push_back({std::move(name), false});
  }
  fs::path result = root;
  for (const Component& c : components) result /= c.name;
  return result;
}

}  // namespace nodra
