#pragma once
// The formatted read-out's output file: created empty at once (an earlier run's file is emptied even if the
// conversion stops early), then written through a buffer the layout writers append to.
#include <filesystem>
#include <string>

namespace nodra {

class StoreOutputFile {
 public:
  StoreOutputFile();
  StoreOutputFile(const StoreOutputFile&) = delete;
  StoreOutputFile& operator=(const StoreOutputFile&) = delete;
  ~StoreOutputFile();

  // Creates the file or empties an existing one.
  bool create(const std::filesystem::path& file);
  // The writers append here; flushIfFull() hands a full buffer to the file.
  std::string& buffer() { return buffer_; }
  bool flushIfFull() { return buffer_.size() < kFlushAt || flush(); }
  // Writes the rest and closes. False when any write or the close failed.
  bool close();

 private:
  static constexpr std::size_t kFlushAt = 1 << 16;
  bool flush();

  int fd_ = -1;
  bool failed_ = false;
  std::string buffer_;
};

}  // namespace nodra
