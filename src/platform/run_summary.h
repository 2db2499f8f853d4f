#pragma once
// What a batch run did, as one JSON object a script can read: the command, the exit code, when it ran, the
// terminal, every file written and read, the archive made, and every message shown, in order.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_error.h"

namespace nodra {

class RunSummary {
 public:
  // `command` as given on the command line (Windows-1250 or plain bytes); the start is now.
  explicit RunSummary(std::string command);

  // Texts and paths are Windows-1250, as the program holds them.
  void terminal(std::string_view root);
  void output(std::string_view path, std::uint64_t records);
  void input(std::string_view path, std::uint64_t records, std::uint64_t dropped);
  void archive(std::string_view folder);
  void message(std::string_view caption, std::string_view text);

  // The object in UTF-8, finished now.
  std::string json(int exitCode) const;
  // Written whole or not at all.
  bool write(const std::filesystem::path& file, int exitCode, FileError& error) const;

 private:
  struct Output {
    std::string path;
    std::uint64_t records;
  };
  struct Input {
    std::string path;
    std::uint64_t records;
    std::uint64_t dropped;
  };
  struct Shown {
    std::string caption;
    std::string text;
  };
  std::string command_;
  std::chrono::system_clock::time_point started_;
  std::optional<std::string> terminal_;
  std::optional<std::string> archive_;
  std::vector<Output> outputs_;
  std::vector<Input> inputs_;
  std::vector<Shown> messages_;
};

// ISO 8601 with the local offset: "2026-12-10T21:30:00+01:00".
std::string isoLocalTime(std::chrono::system_clock::time_point when);

}  // namespace nodra
