#include "readout/work_file_copy.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

namespace nodra {

namespace {

constexpr std::size_t kChunk = 1 << 20;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

bool fail(std::error_code& ec) {
  ec.assign(errno, std::generic_category());
  return false;
}

bool copyThroughBuffer(int in, int out, std::error_code& ec) {
  auto chunk = std::make_unique_for_overwrite<char[]>(kChunk);
  for (;;) {
    ssize_t n = ::read(in, chunk.get(), kChunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(ec);
    if (n == 0) return true;
    const char* data = chunk.get();
    auto left = static_cast<std::size_t>(n);
    while (left > 0) {
      ssize_t written = ::write(out, data, left);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        if (written == 0) errno = EIO;
        return fail(ec);
      }
      data += written;
      left -= static_cast<std::size_t>(written);
    }
  }
}

}  // namespace

bool copyToWorkFile(const std::filesystem::path& source, const std::filesystem::path& workFile, std::error_code& ec) {
  Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return fail(ec);
  Descriptor out(::open(workFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (out.get() < 0) return fail(ec);
  // In the kernel where it can; a source that cannot be spliced is copied through a buffer.
  bool viaBuffer = false;
  for (;;) {
    ssize_t n = ::sendfile(out.get(), in.get(), nullptr, kChunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EINVAL || errno == ENOSYS)) {
      viaBuffer = true;
      break;
    }
    if (n < 0) return fail(ec);
    if (n == 0) break;
  }
  if (viaBuffer && !copyThroughBuffer(in.get(), out.get(), ec)) return false;
  if (::close(out.release()) != 0) return fail(ec);
  return true;
}

}  // namespace nodra
