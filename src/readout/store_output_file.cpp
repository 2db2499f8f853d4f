#include "readout/store_output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace nodra {

StoreOutputFile::StoreOutputFile() {
  // Beyond the flush mark there is room for a record in every layout at once, so appending never reallocates.
  buffer_.reserve(kFlushAt + (1 << 13));
}

StoreOutputFile::~StoreOutputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool StoreOutputFile::create(const std::filesystem::path& file) {
  fd_ = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  failed_ = fd_ < 0;
  buffer_.clear();
  return fd_ >= 0;
}

bool StoreOutputFile::flush() {
  const char* data = buffer_.data();
  std::size_t left = buffer_.size();
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
  buffer_.clear();
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
