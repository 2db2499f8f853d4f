#pragma once
// The formatted read-out's output file: created empty at once (an earlier run's file is emptied even if the
// conversion stops early), then written through a buffer the layout writers write into.
#include <filesystem>
#include <memory>

namespace nodra {

class StoreOutputFile {
 public:
  // The room after the write position whenever flushIfFull() has returned (and after create()).
  static constexpr std::size_t kRecordRoom = 1 << 13;

  StoreOutputFile();
  StoreOutputFile(const StoreOutputFile&) = delete;
  StoreOutputFile& operator=(const StoreOutputFile&) = delete;
  ~StoreOutputFile();

  // Creates the file or empties an existing one.
  bool create(const std::filesystem::path& file);
  // Where the next bytes go, and the end of what was written there.
  char* position() { return buffer_.get() + used_; }
  void advanceTo(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
  // Hands a full buffer to the file.
  bool flushIfFull() { return used_ < kFlushAt || flush(); }
  // Writes the rest and closes. False when any write or the close failed.
  bool close();

 private:
  static constexpr std::size_t kFlushAt = 1 << 16;
  bool flush();

  int fd_ = -1;
  bool failed_ = false;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace nodra
