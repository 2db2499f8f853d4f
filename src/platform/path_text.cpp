#include "platform/path_text.h"

#include "platform/cp1250.h"

namespace nodra {

std::filesystem::path toFsPath(std::string_view pathText) { return std::filesystem::path(cp1250::toUtf8(pathText)); }

std::optional<std::string> toPathText(const std::filesystem::path& path) { return cp1250::fromUtf8(path.native()); }

std::string toDisplayText(const std::filesystem::path& path) {
  if (auto exact = toPathText(path)) return *exact;
  std::string out;
  for (char c : path.native()) {
    auto uc = static_cast<unsigned char>(c);
    if (uc < 0x80) {
      out.push_back(c);
    } else if ((uc & 0xC0) != 0x80) {
      out.push_back('?');
    }
  }
  return out;
}

std::string folderPart(std::string_view pathText) {
  std::size_t slash = pathText.rfind('/');
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return "/";
  return std::string(pathText.substr(0, slash));
}

std::string inFolderOf(std::string_view pathSetting, std::string_view programFolder, std::string_view name) {
  std::string path = folderPart(pathSetting);
  // "vsetkySklady" alone names no folder: the program's own, not the root of the file system.
  if (path.empty()) path = std::string(programFolder);
  if (path.empty() || path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

std::string fileNamePart(std::string_view pathText) {
  std::size_t slash = pathText.rfind('/');
  return std::string(slash == std::string_view::npos ? pathText : pathText.substr(slash + 1));
}

}  // namespace nodra
