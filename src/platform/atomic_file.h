#pragma once
// Replacing a file so that a crash or a pulled card leaves the old file or the new one, never a torn one:
// write a temporary file beside the target, flush it to the medium, rename it over the target, flush the folder.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace nodra {

// A read-only target or folder counts as not writable even for root, as a write-protected card would.
bool isWritable(const std::filesystem::path& target, std::error_code& ec);

class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter();  // an uncommitted write is discarded; the target stays as it was

  bool open(const std::filesystem::path& target, std::error_code& ec);
  bool write(std::string_view bytes, std::error_code& ec);
  // Flushes, renames over the target and flushes the folder.
  bool commit(std::error_code& ec);
  void discard();

 private:
  bool flushBuffer(std::error_code& ec);

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  std::string buffer_;
};

// The whole content at once.
bool replaceFile(const std::filesystem::path& target, std::string_view bytes, std::error_code& ec);

// Copies `source` over `target` atomically. Fails when the source cannot be read.
bool copyFileReplacing(const std::filesystem::path& source, const std::filesystem::path& target, std::error_code& ec);

}  // namespace nodra
