#include "platform/card_read_back.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace nodra {

namespace {

// O_DIRECT wants the buffer, the length and the offset aligned to the device's block; 4 KiB covers them all.
constexpr std::size_t kAlignment = 4096;
constexpr std::size_t kChunk = 1 << 20;

struct FreeAligned {
  void operator()(char* p) const { std::free(p); }
};

// Reads until `size` bytes or the end; the bytes read, or -1.
ssize_t readFull(int fd, char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = readSome(fd, buffer + done, size - done);
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

// Clean pages of the file dropped from the cache, so that the next read goes to the medium.
void dropCachedPages(int fd) { ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED); }

}  // namespace

ReadBack readBack(const FilePlace& copy, const FilePlace& source, FileError& error, ReadBackWay way) {
  UniqueFd card = openForReading(copy, error);
  if (!card) return ReadBack::Unreadable;
  UniqueFd pc = openForReading(source, error);
  if (!pc) return ReadBack::Unreadable;
  std::unique_ptr<char, FreeAligned> cardBuffer(static_cast<char*>(std::aligned_alloc(kAlignment, kChunk)));
  if (!cardBuffer) {
    error.set(FileTrouble::System, copy.displayText(), ENOMEM);
    return ReadBack::Unreadable;
  }
  std::vector<char> pcBuffer(kChunk);

  const int flags = ::fcntl(card.get(), F_GETFL);
  bool direct = way == ReadBackWay::PastTheCache && flags >= 0 && ::fcntl(card.get(), F_SETFL, flags | O_DIRECT) == 0;
  if (!direct) dropCachedPages(card.get());
  for (;;) {
    const ssize_t n = readSome(card.get(), cardBuffer.get(), kChunk);
    if (n < 0 && errno == EINVAL && direct) {
      // The file system took the flag but not the read: the plain way from the start.
      direct = false;
      ::fcntl(card.get(), F_SETFL, flags);
      dropCachedPages(card.get());
      if (::lseek(card.get(), 0, SEEK_SET) != 0 || ::lseek(pc.get(), 0, SEEK_SET) != 0) {
        error.set(FileTrouble::System, copy.displayText(), errno);
        return ReadBack::Unreadable;
      }
      continue;
    }
    if (n < 0) {
      error.set(FileTrouble::System, copy.displayText(), errno);
      return ReadBack::Unreadable;
    }
    // As many bytes of the source, or one more at the copy's end: the source must end there too.
    const std::size_t want = n == 0 ? 1 : static_cast<std::size_t>(n);
    const ssize_t m = readFull(pc.get(), pcBuffer.data(), want);
    if (m < 0) {
      error.set(FileTrouble::System, source.displayText(), errno);
      return ReadBack::Unreadable;
    }
    if (n == 0) return m == 0 ? ReadBack::Kept : ReadBack::Differs;
    if (m != n || std::memcmp(cardBuffer.get(), pcBuffer.data(), want) != 0) return ReadBack::Differs;
  }
}

bool removeCardFile(const FilePlace& file, FileError& error) {
  WriteSlot slot;
  if (!openWriteSlot(file, slot, error)) return false;
  if (!slot.exists) return true;
  if (::unlinkat(slot.folder.get(), slot.name.c_str(), 0) != 0) {
    error.set(FileTrouble::System, slot.shown, errno);
    return false;
  }
  ::fsync(slot.folder.get());
  return true;
}

}  // namespace nodra
