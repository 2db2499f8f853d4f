// io_floor STEP...: does exactly the file I/O of one of the program's jobs and nothing else, so that the
// benchmark can tell how far each job is from what its reads and writes cost. Steps, in order:
//   copy SRC DST       DST removed, created anew and filled from SRC in the kernel (the work file copy)
//   read FILE          FILE read whole through a 64 KiB buffer (a store read back, a PC input file)
//   readhead FILE BYTES
//                      FILE's first BYTES read so (the fill's encoding pass, which ends at its first chunk
//                      when that settles the question)
//   write DST BYTES    BYTES bytes (any content) replacing DST atomically: a temporary beside it, flushed,
//                      renamed over it, the folder flushed (every output and card file)
//   replace SRC DST    SRC's bytes replacing DST atomically, as `write` does (the fill's copy to the card)
//   readdirect FILE    FILE read whole past the page cache (the check of what the card kept)
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "io_floor: %s: %s\n", what.c_str(), std::strerror(errno));
  std::exit(1);
}

void copyStep(const char* src, const char* dst) {
  const int in = ::open(src, O_RDONLY | O_CLOEXEC);
  if (in < 0) fail(src);
  if (::unlink(dst) != 0 && errno != ENOENT) fail(dst);
  const int out = ::open(dst, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (out < 0) fail(dst);
  for (;;) {
    const ssize_t n = ::sendfile(out, in, nullptr, 1 << 20);
    if (n < 0) fail("sendfile");
    if (n == 0) break;
  }
  ::close(in);
  ::close(out);
}

void readStep(const char* file, unsigned long long bytes = ~0ULL) {
  const int in = ::open(file, O_RDONLY | O_CLOEXEC);
  if (in < 0) fail(file);
  std::vector<char> buffer(1 << 16);
  unsigned long long sum = 0;
  while (bytes > 0) {
    const std::size_t want = bytes < buffer.size() ? static_cast<std::size_t>(bytes) : buffer.size();
    const ssize_t n = ::read(in, buffer.data(), want);
    if (n < 0) fail(file);
    if (n == 0) break;
    bytes -= static_cast<unsigned long long>(n);
    sum += static_cast<unsigned char>(buffer[0]);
  }
  ::close(in);
  if (sum == 1) std::fputc(' ', stderr);  // keeps the reads from being thought useless
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Replaces `dst` atomically with what `next` gives, piece by piece.
template <typename Next>
void replaceStep(const std::string& dst, Next next) {
  const std::string folder = folderOf(dst);
  const std::string temporary = folder + "/~floor.tmp";
  const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0) fail(temporary);
  std::vector<char> buffer(1 << 20, 'x');
  for (;;) {
    const std::size_t n = next(buffer);
    if (n == 0) break;
    if (::write(out, buffer.data(), n) != static_cast<ssize_t>(n)) fail(temporary);
  }
  if (::fsync(out) != 0) fail(temporary);
  ::close(out);
  if (::rename(temporary.c_str(), dst.c_str()) != 0) fail(dst);
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0 || ::fsync(dir) != 0) fail(folder);
  ::close(dir);
}

void writeStep(const std::string& dst, unsigned long long bytes) {
  replaceStep(dst, [&bytes](std::vector<char>& buffer) {
    const std::size_t n = bytes < buffer.size() ? static_cast<std::size_t>(bytes) : buffer.size();
    bytes -= n;
    return n;
  });
}

void replaceFromStep(const char* src, const std::string& dst) {
  const int in = ::open(src, O_RDONLY | O_CLOEXEC);
  if (in < 0) fail(src);
  replaceStep(dst, [in](std::vector<char>& buffer) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0) fail("read");
    return static_cast<std::size_t>(n);
  });
  ::close(in);
}

void readDirectStep(const char* file) {
  const int in = ::open(file, O_RDONLY | O_CLOEXEC);
  if (in < 0) fail(file);
  const int flags = ::fcntl(in, F_GETFL);
  if (::fcntl(in, F_SETFL, flags | O_DIRECT) != 0) ::posix_fadvise(in, 0, 0, POSIX_FADV_DONTNEED);
  void* buffer = std::aligned_alloc(4096, 1 << 20);
  for (;;) {
    const ssize_t n = ::read(in, buffer, 1 << 20);
    if (n < 0) fail(file);
    if (n == 0) break;
  }
  std::free(buffer);
  ::close(in);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc;) {
    const std::string step = argv[i];
    auto arg = [&](int k) -> const char* {
      if (i + k >= argc) {
        std::fprintf(stderr, "io_floor: %s needs %d arguments\n", step.c_str(), k);
        std::exit(2);
      }
      return argv[i + k];
    };
    if (step == "copy") {
      copyStep(arg(1), arg(2));
      i += 3;
    } else if (step == "read") {
      readStep(arg(1));
      i += 2;
    } else if (step == "readhead") {
      readStep(arg(1), std::strtoull(arg(2), nullptr, 10));
      i += 3;
    } else if (step == "write") {
      writeStep(arg(1), std::strtoull(arg(2), nullptr, 10));
      i += 3;
    } else if (step == "replace") {
      replaceFromStep(arg(1), arg(2));
      i += 3;
    } else if (step == "readdirect") {
      readDirectStep(arg(1));
      i += 2;
    } else {
      std::fprintf(stderr, "io_floor: unknown step %s\n", step.c_str());
      return 2;
    }
  }
  return 0;
}
