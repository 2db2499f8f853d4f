// Preloaded into the program under test: reads of one named file fail with EIO after a number of bytes, as a
// card whose medium fails under the read would. NODRA_TEST_READ_ERROR_FILE names the file (its last path
// component, without regard to case), NODRA_TEST_READ_ERROR_AFTER the bytes that still arrive (default 0).
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
  const char* base = std::strrchr(target, '/');
  return ::strcasecmp(base == nullptr ? target : base + 1, name) == 0;
}

long long allowance() {
  const char* after = std::getenv("NODRA_TEST_READ_ERROR_AFTER");
  return after == nullptr ? 0 : std::atoll(after);
}

// How many bytes of `wanted` may still arrive from fd; -1 once the medium has "failed".
ssize_t permitted(int fd, size_t wanted) {
  if (!isTheFile(fd)) return static_cast<ssize_t>(wanted);
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
