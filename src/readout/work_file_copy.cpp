#include "readout/work_file_copy.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/path_text.h"

namespace nodra {

namespace {

constexpr std::size_t kChunk = 1 << 20;

// errno after a failed read or write: which side failed decides whose name the message carries.
enum class Side { Source, Target };

bool copyThroughBuffer(int in, int out, Side& side) {
  auto chunk = std::make_unique_for_overwrite<char[]>(kChunk);
  for (;;) {
    const ssize_t n = readSome(in, chunk.get(), kChunk);
    if (n < 0) {
      side = Side::Source;
      return false;
    }
    if (n == 0) return true;
    const char* data = chunk.get();
    auto left = static_cast<std::size_t>(n);
    while (left > 0) {
      ssize_t written = ::write(out, data, left);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        if (written == 0) errno = EIO;
        side = Side::Target;
        return false;
      }
      data += written;
      left -= static_cast<std::size_t>(written);
    }
  }
}

}  // namespace

bool copyToWorkFile(const FilePlace& source, const std::filesystem::path& workFile, FileError& error) {
  error = {};
  UniqueFd in = openForReading(source, error);
  if (!in) return false;
  UniqueFd out = createWorkFile(workFile, error);
  if (!out) return false;
  // In the kernel where it can; a source that cannot be spliced is copied through a buffer.
  bool viaBuffer = false;
  Side side = Side::Source;
  for (;;) {
    ssize_t n = ::sendfile(out.get(), in.get(), nullptr, kChunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EINVAL || errno == ENOSYS)) {
      viaBuffer = true;
      break;
    }
    if (n < 0) {
      // sendfile does not say which end failed: a full PC disk and a failing card look alike.
      side = (errno == ENOSPC || errno == EDQUOT || errno == EFBIG) ? Side::Target : Side::Source;
      const int copyError = errno;
      error.set(FileTrouble::System, side == Side::Source ? source.displayText() : toDisplayText(workFile), copyError);
      return false;
    }
    if (n == 0) break;
  }
  if (viaBuffer && !copyThroughBuffer(in.get(), out.get(), side)) {
    const int copyError = errno;
    error.set(FileTrouble::System, side == Side::Source ? source.displayText() : toDisplayText(workFile), copyError);
    return false;
  }
  if (::close(out.release()) != 0) {
    error.set(FileTrouble::System, toDisplayText(workFile), errno);
    return false;
  }
  return true;
}

}  // namespace nodra
