#pragma once
// A folder of the test's own under the system's temporary folder, removed with everything in it afterwards,
// and whole-file helpers. Inline, so that the window's tests use it without linking the support library.
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

namespace nodra::testing {

class TempFolder {
 public:
  // "<prefix>-XXXXXX"; throws when the folder cannot be made.
  explicit TempFolder(std::string_view prefix = "nodra-test")
      : TempFolder(std::filesystem::temp_directory_path(), prefix) {}
  // In another file system than the usual scratch one.
  TempFolder(const std::filesystem::path& base, std::string_view prefix) {
    std::string pattern = (base / (std::string(prefix) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp " + pattern);
    path_ = pattern;
  }
  // A test may leave folders read-only: they are made removable again first. Links are not followed.
  ~TempFolder() {
    std::error_code ec;
    ::chmod(path_.c_str(), 0755);
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      std::error_code entry;
      if (it->is_directory(entry) && !it->is_symlink(entry)) ::chmod(it->path().c_str(), 0755);
    }
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // Windows-1250 text of the folder with a trailing "/", as exeFolder is held (the path is ASCII).
  std::string text() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

// Creates the parent folders; false when not every byte was written.
inline bool writeFile(const std::filesystem::path& file, std::string_view bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

// Empty when the file cannot be read.
inline std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::set<std::string> namesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Everything under `root` by its path relative to it: a file's bytes, "<folder>", "<link>" (never followed)
// or "<special>"; nothing when `root` is missing.
inline std::map<std::string, std::string> filesUnder(const std::filesystem::path& root) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const std::string name = fs::relative(it->path(), root).string();
    if (it->is_symlink()) {
      files[name] = "<link>";
    } else if (it->is_directory()) {
      files[name] = "<folder>";
    } else if (it->is_regular_file()) {
      files[name] = readFile(it->path());
    } else {
      files[name] = "<special>";
    }
  }
  return files;
}

}  // namespace nodra::testing
