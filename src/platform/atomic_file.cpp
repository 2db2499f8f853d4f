#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace nodra {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

std::error_code lastError() { return {errno, std::generic_category()}; }

bool writeAll(int fd, const char* data, std::size_t size, std::error_code& ec) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      ec = lastError();
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool syncFolder(const fs::path& folder, std::error_code& ec) {
  int dfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd < 0) {
    ec = lastError();
    return false;
  }
  // Some file systems cannot flush a folder; the rename itself has already happened then.
  if (::fsync(dfd) != 0 && errno != EINVAL && errno != ENOTSUP) {
    ec = lastError();
    ::close(dfd);
    return false;
  }
  ::close(dfd);
  return true;
}

}  // namespace

bool isWritable(const fs::path& target, std::error_code& ec) {
  struct stat st {};
  fs::path folder = target.parent_path();
  if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0) {
    ec = lastError();
    return false;
  }
  if (!S_ISDIR(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(folder.empty() ? "." : folder.c_str(), W_OK) != 0) {
    ec = std::make_error_code(std::errc::permission_denied);
    return false;
  }
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      ec = std::make_error_code(std::errc::is_a_directory);
      return false;
    }
    if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
      ec = std::make_error_code(std::errc::permission_denied);
      return false;
    }
  }
  return true;
}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

void AtomicFileWriter::discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
    ::unlink(temporary_.c_str());
  }
  buffer_.clear();
}

bool AtomicFileWriter::open(const fs::path& target, std::error_code& ec) {
  discard();
  if (!isWritable(target, ec)) return false;
  target_ = target;
  mode_t mode = 0666;
  bool replacing = false;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
    replacing = true;
  }
  // A short name: a FAT card then needs no long-name entries for it.
  static std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~ND%05u.TMP", static_cast<unsigned>(random() % 100000));
    temporary_ = target.parent_path() / name;
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd_ >= 0) {
      // The umask applies at creation; a replaced file keeps exactly the mode it had.
      if (replacing) ::fchmod(fd_, mode);
      buffer_.reserve(kBufferSize);
      return true;
    }
    if (errno != EEXIST) break;
  }
  ec = lastError();
  return false;
}

bool AtomicFileWriter::flushBuffer(std::error_code& ec) {
  if (buffer_.empty()) return true;
  bool ok = writeAll(fd_, buffer_.data(), buffer_.size(), ec);
  buffer_.clear();
  return ok;
}

bool AtomicFileWriter::write(std::string_view bytes, std::error_code& ec) {
  if (fd_ < 0) {
    ec = std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  if (buffer_.size() + bytes.size() > kBufferSize) {
    if (!flushBuffer(ec)) return false;
    if (bytes.size() >= kBufferSize) return writeAll(fd_, bytes.data(), bytes.size(), ec);
  }
  buffer_.append(bytes);
  return true;
}

bool AtomicFileWriter::commit(std::error_code& ec) {
  if (fd_ < 0) {
    ec = std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  bool ok = flushBuffer(ec);
  // A failed flush to the medium is final: the data may not be there.
  if (ok && ::fsync(fd_) != 0) {
    ec = lastError();
    ok = false;
  }
  if (::close(fd_) != 0 && ok) {
    ec = lastError();
    ok = false;
  }
  fd_ = -1;
  if (ok && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
    ec = lastError();
    ok = false;
  }
  if (!ok) {
    ::unlink(temporary_.c_str());
    return false;
  }
  return syncFolder(target_.parent_path(), ec);
}

bool replaceFile(const fs::path& target, std::string_view bytes, std::error_code& ec) {
  AtomicFileWriter writer;
  return writer.open(target, ec) && writer.write(bytes, ec) && writer.commit(ec);
}

bool copyFileReplacing(const fs::path& source, const fs::path& target, std::error_code& ec) {
  int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    ec = lastError();
    return false;
  }
  struct stat st {};
  if (::fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
    ec = S_ISDIR(st.st_mode) ? std::make_error_code(std::errc::is_a_directory) : lastError();
    ::close(in);
    return false;
  }
  AtomicFileWriter writer;
  if (!writer.open(target, ec)) {
    ::close(in);
    return false;
  }
  std::string chunk(kBufferSize, '\0');
  for (;;) {
    ssize_t n = ::read(in, chunk.data(), chunk.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      ec = lastError();
      ::close(in);
      return false;
    }
    if (n == 0) break;
    if (!writer.write(std::string_view(chunk.data(), static_cast<std::size_t>(n)), ec)) {
      ::close(in);
      return false;
    }
  }
  ::close(in);
  return writer.commit(ec);
}

}  // namespace nodra
