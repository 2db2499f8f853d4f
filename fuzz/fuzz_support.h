#pragma once
// What every fuzz target shares: a Ui nobody watches, a scratch folder of the process's own (in memory where
// the machine has /dev/shm), and a terminal card inside it.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"
#include "platform/volumes.h"

namespace nodra::fuzz {

class QuietUi final : public Ui {
 public:
  unsigned messages = 0;
  void setDriveText(std::string_view) override {}
  void setStatus(std::string_view) override {}
  void setTitle(std::string_view) override {}
  void setProgressMax(int) override {}
  void progress(unsigned, unsigned) override {}

 protected:
  Answer ask(const Message& m) override {
    ++messages;
    return m.defaultAnswer;
  }
};

// "nodra-fuzz-<pid>". libFuzzer ends with _Exit, past any clean-up of ours: fuzz/run.sh removes the folder.
inline const std::filesystem::path& scratchFolder() {
  static const std::filesystem::path folder = [] {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                                               : std::filesystem::temp_directory_path();
    auto path = base / ("nodra-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

// The folder as the settings hold it: Windows-1250 text ending with "/" (the scratch path is ASCII).
inline std::string scratchText() { return scratchFolder().string() + "/"; }

inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::abort();  // the harness itself failed: not a finding in the program
}

inline std::string readBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An input split into the file it stands for (its head) and the bytes that choose the settings: the last byte
// says how many bytes before it are settings. Seeds are plain files with that byte (0) appended.
struct SplitInput {
  std::string_view file;
  std::string_view script;

  SplitInput(const uint8_t* data, size_t size) {
    if (size == 0) return;
    const std::size_t scriptSize = std::min<std::size_t>(data[size - 1], size - 1);
    file = std::string_view(reinterpret_cast<const char*>(data), size - 1 - scriptSize);
    script = std::string_view(reinterpret_cast<const char*>(data) + file.size(), scriptSize);
  }
};

// A card holding the terminal's settings file, found as the only removable drive.
class CardVolumes final : public VolumeSource {
 public:
  CardVolumes() : root_(scratchFolder() / "card") {
    std::filesystem::create_directories(root_ / "CONFIG");
    std::filesystem::create_directories(root_ / "DATA");
    writeBytes(root_ / "CONFIG" / "NODRA3000.ini", "[GLOBAL]\r\n");
  }
  const std::filesystem::path& root() const { return root_; }
  std::vector<Volume> removableVolumes() override { return {Volume{root_, "X:", 0}}; }
  bool hasReadableMedium(const Volume&, int) override { return true; }

 private:
  std::filesystem::path root_;
};

// A property the target checks has failed: abort, so libFuzzer keeps the input.
#define NODRA_FUZZ_CHECK(condition)                                                      \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

}  // namespace nodra::fuzz
