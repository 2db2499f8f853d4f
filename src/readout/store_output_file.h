#pragma once
// The formatted read-out's output file, written through a buffer the layout writers write into, and put in
// place of the previous one only when complete: a run that fails or is killed leaves the old file as it was.
#include <memory>

#include "platform/atomic_file.h"

namespace nodra {

class StoreOutputFile {
 public:
  // The room after the write position whenever flushIfFull() has returned (and after create()).
  static constexpr std::size_t kRecordRoom = 1 << 13;

  StoreOutputFile();
  StoreOutputFile(const StoreOutputFile&) = delete;
  StoreOutputFile& operator=(const StoreOutputFile&) = delete;

  bool create(const FilePlace& file, FileError& error);
  // Where the next bytes go, and the end of what was written there.
  char* position() { return buffer_.get() + used_; }
  void advanceTo(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
  // Hands a full buffer to the file.
  bool flushIfFull() { return used_ < kFlushAt || flush(); }
  // Writes the rest and puts the file in place. False when any write, the flush or the rename failed.
  bool close(FileError& error);
  // Drops what was written; the previous file stays.
  void abandon();
  const FileError& error() const { return error_; }

 private:
  static constexpr std::size_t kFlushAt = 1 << 16;
  bool flush();

  AtomicFileWriter file_;
  FileError error_;
  bool failed_ = false;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace nodra
