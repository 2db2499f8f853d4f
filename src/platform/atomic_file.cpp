#include "platform/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace nodra {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr long kMsdosMagic = 0x4d44;
constexpr long kExfatMagic = 0x2011BAB0;

bool writeAll(int fd, const char* data, std::size_t size, int& error) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Some file systems cannot flush a folder; the rename itself has already happened then.
bool syncFolder(int folder, int& error) {
  if (::fsync(folder) != 0 && errno != EINVAL && errno != ENOTSUP) {
    error = errno;
    return false;
  }
  return true;
}

// The mode bits count too: a read-only file or folder refuses root as a write-protected card would.
int writeRefusal(int folder, const char* name, const struct stat& st) {
  if ((st.st_mode & 0222) == 0) return EACCES;
  if (::faccessat(folder, name, W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0) return errno;
  return 0;
}

bool sameBytes(int folder, const char* a, const char* b, off_t size) {
  UniqueFd x(::openat(folder, a, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  UniqueFd y(::openat(folder, b, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!x || !y) return false;
  std::vector<char> bx(1 << 16), by(1 << 16);
  for (off_t done = 0; done < size;) {
    ssize_t nx = ::read(x.get(), bx.data(), bx.size());
    ssize_t ny = ::read(y.get(), by.data(), by.size());
    if (nx <= 0 || nx != ny || std::memcmp(bx.data(), by.data(), static_cast<std::size_t>(nx)) != 0) return false;
    done += nx;
  }
  return true;
}

// The temporaries this process is writing now: one writer may stay open while another writes in its folder.
class TemporariesInProgress {
 public:
  void add(std::pair<dev_t, ino_t> file) {
    const std::lock_guard lock(mutex_);
    files_.insert(file);
  }
  void remove(std::pair<dev_t, ino_t> file) {
    const std::lock_guard lock(mutex_);
    files_.erase(file);
  }
  bool contains(const struct stat& st) {
    const std::lock_guard lock(mutex_);
    return files_.count({st.st_dev, st.st_ino}) != 0;
  }

 private:
  std::mutex mutex_;
  std::set<std::pair<dev_t, ino_t>> files_;
};

TemporariesInProgress& temporariesInProgress() {
  static TemporariesInProgress registry;
  return registry;
}

// Temporaries of earlier writes that were cut short. The program holds its single-instance lock, so nothing of
// that name beside a target is still being written, except by this process's own open writers. On FAT a power cut
// during the rename can leave the temporary sharing the target's clusters until the card is checked; one that equals
// the target stays.
void removeLeftovers(const WriteSlot& slot) {
  int listing = ::openat(slot.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return;
  DIR* dir = ::fdopendir(listing);
  if (dir == nullptr) {
    ::close(listing);
    return;
  }
  std::vector<std::string> leftovers;
  while (dirent* entry = ::readdir(dir)) {
    if (isTemporaryName(entry->d_name)) leftovers.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  if (leftovers.empty()) return;
  struct statfs fsInfo {};
  const bool fat = ::fstatfs(slot.folder.get(), &fsInfo) == 0 &&
                   (static_cast<long>(fsInfo.f_type) == kMsdosMagic || static_cast<long>(fsInfo.f_type) == kExfatMagic);
  for (const std::string& name : leftovers) {
    struct stat st {};
    if (::fstatat(slot.folder.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (temporariesInProgress().contains(st)) continue;
    if (fat && slot.exists && st.st_size == slot.existing.st_size &&
        sameBytes(slot.folder.get(), name.c_str(), slot.name.c_str(), st.st_size)) {
      continue;
    }
    ::unlinkat(slot.folder.get(), name.c_str(), 0);
  }
}

}  // namespace

bool isTemporaryName(std::string_view name) {
  if (name.size() != 12 || name.substr(0, 3) != "~ND" || name.substr(8) != ".TMP") return false;
  for (char c : name.substr(3, 5)) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

namespace {
bool slotWritable(const WriteSlot& slot, FileError& error) {
  struct stat folder {};
  int refusal = ::fstat(slot.folder.get(), &folder) == 0 ? writeRefusal(slot.folder.get(), ".", folder) : errno;
  if (refusal == 0 && slot.exists) refusal = writeRefusal(slot.folder.get(), slot.name.c_str(), slot.existing);
  if (refusal != 0) error.set(FileTrouble::System, slot.shown, refusal);
  return refusal == 0;
}
}  // namespace

bool isWritable(const FilePlace& target, FileError& error) {
  WriteSlot slot;
  return openWriteSlot(target, slot, error) && slotWritable(slot, error);
}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

void AtomicFileWriter::forgetTemporary() {
  if (!registered_) return;
  temporariesInProgress().remove({static_cast<dev_t>(temporaryDevice_), static_cast<ino_t>(temporaryInode_)});
  registered_ = false;
}

void AtomicFileWriter::discard() {
  forgetTemporary();
  if (fd_) {
    fd_.reset();
    ::unlinkat(slot_.folder.get(), temporary_.c_str(), 0);
  }
  buffer_.clear();
}

bool AtomicFileWriter::fail(FileError& error, int systemError) {
  error.set(FileTrouble::System, slot_.shown, systemError);
  discard();
  return false;
}

bool AtomicFileWriter::open(const FilePlace& target, FileError& error) {
  discard();
  error = {};
  if (!openWriteSlot(target, slot_, error) || !slotWritable(slot_, error)) return false;
  removeLeftovers(slot_);
  // Never a set-ID, sticky or execute bit, and never more than the old file allowed; the umask applies on top.
  const mode_t mode = slot_.exists ? (slot_.existing.st_mode & 0666) : 0666;
  // A short name: a FAT card then needs no long-name entries for it.
  static std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~ND%05u.TMP", static_cast<unsigned>(random() % 100000));
    temporary_ = name;
    fd_.reset(::openat(slot_.folder.get(), name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (fd_) {
      struct stat st {};
      if (::fstat(fd_.get(), &st) == 0) {
        temporaryDevice_ = st.st_dev;
        temporaryInode_ = st.st_ino;
        temporariesInProgress().add({st.st_dev, st.st_ino});
        registered_ = true;
      }
      buffer_.reserve(kBufferSize);
      return true;
    }
    if (errno != EEXIST) break;
  }
  error.set(FileTrouble::System, slot_.shown, errno);
  return false;
}

bool AtomicFileWriter::flushBuffer(FileError& error) {
  if (buffer_.empty()) return true;
  int systemError = 0;
  bool ok = writeAll(fd_.get(), buffer_.data(), buffer_.size(), systemError);
  buffer_.clear();
  return ok || fail(error, systemError);
}

bool AtomicFileWriter::write(std::string_view bytes, FileError& error) {
  if (!fd_) {
    error.set(FileTrouble::System, slot_.shown, EBADF);
    return false;
  }
  // Pieces of a buffer the caller keeps go straight to the file: copying them into this one would only add a pass
  // over every byte.
  const bool large = bytes.size() >= kBufferSize / 2;
  if (large || buffer_.size() + bytes.size() > kBufferSize) {
    if (!flushBuffer(error)) return false;
    if (large) {
      int systemError = 0;
      return writeAll(fd_.get(), bytes.data(), bytes.size(), systemError) || fail(error, systemError);
    }
  }
  buffer_.append(bytes);
  return true;
}

bool AtomicFileWriter::commit(FileError& error) {
  if (!fd_) {
    error.set(FileTrouble::System, slot_.shown, EBADF);
    return false;
  }
  if (!flushBuffer(error)) return false;
  // A failed flush to the medium is final: the data may not be there.
  if (::fsync(fd_.get()) != 0) return fail(error, errno);
  forgetTemporary();
  if (::close(fd_.release()) != 0) {
    const int closeError = errno;
    ::unlinkat(slot_.folder.get(), temporary_.c_str(), 0);
    error.set(FileTrouble::System, slot_.shown, closeError);
    return false;
  }
  if (::renameat(slot_.folder.get(), temporary_.c_str(), slot_.folder.get(), slot_.name.c_str()) != 0) {
    const int renameError = errno;
    ::unlinkat(slot_.folder.get(), temporary_.c_str(), 0);
    error.set(FileTrouble::System, slot_.shown, renameError);
    return false;
  }
  int systemError = 0;
  if (!syncFolder(slot_.folder.get(), systemError)) {
    error.set(FileTrouble::System, slot_.shown, systemError);
    return false;
  }
  return true;
}

bool replaceFile(const FilePlace& target, std::string_view bytes, FileError& error) {
  AtomicFileWriter writer;
  return writer.open(target, error) && writer.write(bytes, error) && writer.commit(error);
}

bool copyFileReplacing(const FilePlace& source, const FilePlace& target, FileError& error, std::uint64_t* lines) {
  UniqueFd in = openForReading(source, error);
  if (!in) return false;
  AtomicFileWriter writer;
  if (!writer.open(target, error)) return false;
  if (lines != nullptr) *lines = 0;
  bool openLine = false;  // the last line copied has no line end yet
  auto chunk = std::make_unique_for_overwrite<char[]>(kBufferSize);
  for (;;) {
    ssize_t n = ::read(in.get(), chunk.get(), kBufferSize);
    if (n < 0) {
      if (errno == EINTR) continue;
      error.set(FileTrouble::System, source.displayText(), errno);
      return false;
    }
    if (n == 0) break;
    const std::string_view piece(chunk.get(), static_cast<std::size_t>(n));
    if (lines != nullptr) {
      for (const char* p = piece.data(); (p = static_cast<const char*>(std::memchr(p, '\n', piece.end() - p)));) {
        ++*lines;
        ++p;
      }
      openLine = piece.back() != '\n';
    }
    if (!writer.write(piece, error)) return false;
  }
  if (lines != nullptr && openLine) ++*lines;
  return writer.commit(error);
}

}  // namespace nodra
