#pragma once
// Scratch folders, whole files, a Ui that records what the user would see, and a decimal-comma locale.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fill/input_record.h"
#include "platform/ui.h"

namespace nodra {

inline void PrintTo(const InputRecord& r, std::ostream* os) {
  *os << "{\"" << r.code << "\", " << r.price << ", " << r.count << ", \"" << r.name << "\"}";
}

namespace test {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "nodra-fill-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec)) ::chmod(it->path().c_str(), 0755);
    }
    ::chmod(path_.c_str(), 0755);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Windows-1250 text of the folder with a trailing "/", as exeFolder is held.
  std::string text() const { return path_.string() + "/"; }

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

// Every call in order, one line each: "status:...", "box:caption|text", "max:N".
class RecordingUi final : public Ui {
 public:
  std::vector<Message> boxes;
  std::vector<std::string> events;

  void setDriveText(std::string_view) override {}
  void setStatus(std::string_view text) override { events.push_back("status:" + std::string(text)); }
  void setTitle(std::string_view) override {}
  void setProgressMax(int max) override { events.push_back("max:" + std::to_string(max)); }
  void progress(unsigned, unsigned) override {}

  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : boxes) texts.push_back(m.text);
    return texts;
  }

 protected:
  Answer ask(const Message& m) override {
    boxes.push_back(m);
    events.push_back("box:" + m.caption + "|" + m.text);
    return Answer::Ok;
  }
};

// Holds the process (C and C++ global locale) under a decimal comma, generating the locale when the system
// lacks it. `active()` is false when none can be had; the caller then skips.
class DecimalCommaLocale {
 public:
  DecimalCommaLocale() {
    int lock = ::open("/tmp/nodra-localedef.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0666);
    if (lock >= 0) ::flock(lock, LOCK_EX);
    active_ = set();
    if (!active_ && std::system("localedef -i sk_SK -f UTF-8 sk_SK.UTF-8 >/dev/null 2>&1") == 0) active_ = set();
    if (lock >= 0) ::close(lock);
  }
  ~DecimalCommaLocale() {
    std::setlocale(LC_ALL, "C");
    std::locale::global(std::locale::classic());
  }
  DecimalCommaLocale(const DecimalCommaLocale&) = delete;
  DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

  bool active() const { return active_; }

 private:
  static bool set() {
    if (std::setlocale(LC_ALL, "sk_SK.UTF-8") == nullptr) return false;
    try {
      std::locale::global(std::locale("sk_SK.UTF-8"));
    } catch (const std::runtime_error&) {
      return false;
    }
    return std::localeconv()->decimal_point[0] == ',';
  }
  bool active_ = false;
};

}  // namespace test
}  // namespace nodra
