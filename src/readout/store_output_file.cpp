#include "readout/store_output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace nodra {

StoreOutputFile::StoreOutputFile() : buffer_(std::make_unique_for_overwrite<char[]>(kFlushAt + kRecordRoom)) {}

StoreOutputFile::~StoreOutputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool StoreOutputFile::create(const std::filesystem::path& file) {
  fd_ = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  failed_ = fd_ < 0;
  used_ = 0;
  return fd_ >= 0;
}

bool StoreOutputFile::flush() {
  const char* data = buffer_.get();
  std::size_t left = used_;
  while (left > 0 && !failed_) {
    ssize_t n = ::write(fd_, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      break;
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  used_ = 0;
  return !failed_;
}

bool StoreOutputFile::close() {
  if (fd_ < 0) return false;
  flush();
  if (::close(fd_) != 0) failed_ = true;
  fd_ = -1;
  return !failed_;
}

}  // namespace nodra
