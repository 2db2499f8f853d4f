#include "store/store_line_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/store_digest.h"

namespace nodra {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
// A read may take one byte more than kStoreLineMax from the file: the CR of a CR LF is not counted.
constexpr std::size_t kWindow = kStoreLineMax + 1;

}  // namespace

StoreLineReader::~StoreLineReader() { close(); }

bool StoreLineReader::open(const FilePlace& file, FileError& error) {
  close();
  fd_ = openForReading(file, error);
  if (!fd_) return false;
  buffer_.resize(kBufferSize + kStoreReadSlack);
  pos_ = end_ = 0;
  eof_ = failed_ = hitEnd_ = false;
  readError_ = 0;
  lastReadEmpty_ = true;
  return true;
}

void StoreLineReader::close() { fd_.reset(); }

// Keeps at least kWindow bytes ahead unless the file ends first, so a read never straddles a refill.
void StoreLineReader::fill() {
  if (eof_ || !fd_ || end_ - pos_ >= kWindow) return;
  std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
  end_ -= pos_;
  pos_ = 0;
  while (end_ < kWindow) {
    const ssize_t n = readSome(fd_.get(), buffer_.data() + end_, kBufferSize - end_);
    if (n <= 0) {
      eof_ = true;
      failed_ = n < 0;
      if (n < 0) readError_ = errno;
      return;
    }
    if (digest_ != nullptr) digest_->add(buffer_.data() + end_, static_cast<std::size_t>(n));
    end_ += static_cast<std::size_t>(n);
  }
}

bool StoreLineReader::next(std::string_view& line) {
  line = {};
  // After a read that ran into the end of the file there is no further read: a file whose last line has no
  // line end has no empty read after it.
  if (hitEnd_ || !fd_) return false;
  fill();
  const std::size_t available = end_ - pos_;
  if (available == 0) {
    hitEnd_ = true;
    lastReadEmpty_ = true;
    return false;
  }
  char* start = buffer_.data() + pos_;
  const std::size_t window = available < kWindow ? available : kWindow;
  if (const void* lf = std::memchr(start, '\n', window)) {
    const auto i = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
    if (i > 0 && start[i - 1] == '\r') {
      // CR LF reads as LF: the CR's place takes the LF, and the read ends there.
      start[i - 1] = '\n';
      line = std::string_view(start, i);
      pos_ += i + 1;
      lastReadEmpty_ = false;
      return true;
    }
    if (i < kStoreLineMax) {
      line = std::string_view(start, i + 1);
      pos_ += i + 1;
      lastReadEmpty_ = false;
      return true;
    }
  }
  // No line end within the limit: the read takes what there is, at most kStoreLineMax characters.
  const std::size_t length = available < kStoreLineMax ? available : kStoreLineMax;
  hitEnd_ = length < kStoreLineMax;
  line = std::string_view(start, length);
  pos_ += length;
  lastReadEmpty_ = false;
  return true;
}

}  // namespace nodra
