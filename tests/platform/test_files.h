#pragma once
// Scratch folders and whole-file helpers shared by the platform tests.
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

namespace nodra::test {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "nodra-platform-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ec;
    // A test may leave a folder read-only; make it removable again.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec) && !it->is_symlink(ec)) ::chmod(it->path().c_str(), 0755);
    }
    ::chmod(path_.c_str(), 0755);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void writeFile(const std::filesystem::path& file, std::string_view bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::set<std::string> namesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Holds the process in a locale with a decimal comma, generating it when the system lacks it. `active()`
// is false when no such locale can be had; the caller then skips.
class DecimalCommaLocale {
 public:
  DecimalCommaLocale() {
    active_ = std::setlocale(LC_ALL, "sk_SK.UTF-8") != nullptr;
    if (!active_ && std::system("localedef -i sk_SK -f UTF-8 sk_SK.UTF-8 >/dev/null 2>&1") == 0) {
      active_ = std::setlocale(LC_ALL, "sk_SK.UTF-8") != nullptr;
    }
  }
  ~DecimalCommaLocale() { std::setlocale(LC_ALL, "C"); }
  DecimalCommaLocale(const DecimalCommaLocale&) = delete;
  DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

  bool active() const { return active_; }

 private:
  bool active_ = false;
};

}  // namespace nodra::test
