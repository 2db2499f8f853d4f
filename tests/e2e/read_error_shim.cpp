// Preloaded into the program under test: reads of one named file fail with EIO after a number of bytes, as a
// card whose medium fails under the read would. NODRA_TEST_READ_ERROR_FILE names the file (its last path
// components, without regard to case), NODRA_TEST_READ_ERROR_AFTER the bytes that still arrive (default 0).
// With NODRA_TEST_READ_ERROR_MODE=corrupt the reads go on, but the byte at that offset arrives changed, as
// from flash that acknowledged a write it never made.
#include <dlfcn.h>
#include <strings.h>
#include <sys/sendfile.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxFd = 4096;
std::atomic<long long> delivered[kMaxFd];

bool isTheFile(int fd) {
  const char* name = std::getenv("NODRA_TEST_READ_ERROR_FILE");
  if (name == nullptr || fd < 0 || fd >= kMaxFd) return false;
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char target[4096];
  const ssize_t n = ::readlink(link, target, sizeof target - 1);
  if (n <= 0) return false;
  target[n] = '\0';
  // A name with folders ("DATA/data_in.txt") must match that many last components.
  const std::size_t length = std::strlen(name);
  const auto size = static_cast<std::size_t>(n);
  if (length > size || ::strcasecmp(target + size - length, name) != 0) return false;
  return size == length || target[size - length - 1] == '/';
}

long long allowance() {
  const char* after = std::getenv("NODRA_TEST_READ_ERROR_AFTER");
  return after == nullptr ? 0 : std::atoll(after);
}

bool corrupting() {
  const char* mode = std::getenv("NODRA_TEST_READ_ERROR_MODE");
  return mode != nullptr && std::strcmp(mode, "corrupt") == 0;
}

// Changes the byte at the chosen offset when this read of the file delivered it.
void corrupt(int fd, void* buffer, ssize_t n) {
  if (n <= 0 || !corrupting() || !isTheFile(fd)) return;
  const long long start = delivered[fd].load();
  const long long at = allowance();
  if (at >= start && at < start + n) static_cast<char*>(buffer)[at - start] ^= 0x01;
}

// How many bytes of `wanted` may still arrive from fd; -1 once the medium has "failed".
ssize_t permitted(int fd, size_t wanted) {
  if (corrupting() || !isTheFile(fd)) return static_cast<ssize_t>(wanted);
  const long long left = allowance() - delivered[fd].load();
  if (left <= 0) return -1;
  return static_cast<ssize_t>(wanted < static_cast<size_t>(left) ? wanted : static_cast<size_t>(left));
}

template <typename F>
F next(const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
  static auto real = next<ssize_t (*)(int, void*, size_t)>("read");
  const ssize_t may = permitted(fd, count);
  if (may < 0) {
    errno = EIO;
    return -1;
  }
  const ssize_t n = real(fd, buffer, static_cast<size_t>(may));
  corrupt(fd, buffer, n);
  if (n > 0 && fd >= 0 && fd < kMaxFd) delivered[fd] += n;
  return n;
}

extern "C" ssize_t sendfile(int out, int in, off_t* offset, size_t count) {
  static auto real = next<ssize_t (*)(int, int, off_t*, size_t)>("sendfile");
  const ssize_t may = permitted(in, count);
  if (may < 0) {
    errno = EIO;
    return -1;
  }
  const ssize_t n = real(out, in, offset, static_cast<size_t>(may));
  if (n > 0 && in >= 0 && in < kMaxFd) delivered[in] += n;
  return n;
}

extern "C" ssize_t sendfile64(int out, int in, off_t* offset, size_t count) { return sendfile(out, in, offset, count); }

// A number the next open reuses starts counting afresh.
extern "C" int close(int fd) {
  static auto real = next<int (*)(int)>("close");
  if (fd >= 0 && fd < kMaxFd) delivered[fd] = 0;
  return real(fd);
}
