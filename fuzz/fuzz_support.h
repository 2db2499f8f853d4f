#pragma once
// What every fuzz target shares besides the test support (a quiet RecordingUi, the folder drives): a scratch
// folder of the process's own (in memory where the machine has /dev/shm), and a terminal card inside it.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_folder.h"

namespace nodra::fuzz {

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
  if (!testing::writeFile(file, bytes)) std::abort();  // the harness itself failed: not a finding in the program
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

// A card holding the terminal's settings file, made once; the targets take it as the only removable drive.
inline const std::filesystem::path& cardFolder() {
  static const std::filesystem::path root = [] {
    const std::filesystem::path card = scratchFolder() / "card";
    std::filesystem::create_directories(card / "DATA");
    writeBytes(card / "CONFIG" / "NODRA3000.ini", "[GLOBAL]\r\n");
    return card;
  }();
  return root;
}

// A property the target checks has failed: abort, so libFuzzer keeps the input.
#define NODRA_FUZZ_CHECK(condition)                                                      \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

}  // namespace nodra::fuzz
