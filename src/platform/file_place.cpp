#include "platform/file_place.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <vector>

#include "platform/cp1250.h"
#include "platform/path_text.h"

namespace nodra {
namespace fs = std::filesystem;

namespace {

constexpr int kMaxLinkHops = 40;

FileTrouble troubleOfMode(mode_t mode, bool folderExpected) {
  if (S_ISLNK(mode)) return FileTrouble::Link;
  if (S_ISFIFO(mode)) return FileTrouble::Fifo;
  if (S_ISCHR(mode)) return FileTrouble::CharDevice;
  if (S_ISBLK(mode)) return FileTrouble::BlockDevice;
  if (S_ISSOCK(mode)) return FileTrouble::Socket;
  if (folderExpected) return S_ISDIR(mode) ? FileTrouble::None : FileTrouble::NotFolder;
  return S_ISREG(mode) ? FileTrouble::None : FileTrouble::Folder;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The entry's own spelling: the exact name when it exists, else the smallest that matches ignoring case.
std::optional<std::string> findEntry(int folder, const std::string& name) {
  struct stat st {};
  if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return name;
  // A descriptor of its own: a duplicate would share (and move) the folder's read position.
  int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return std::nullopt;
  DIR* dir = ::fdopendir(listing);
  if (dir == nullptr) {
    ::close(listing);
    return std::nullopt;
  }
  std::optional<std::string> best;
  while (dirent* entry = ::readdir(dir)) {
    std::string_view candidate = entry->d_name;
    if (sameIgnoringCase(candidate, name) && (!best || candidate < *best)) best = std::string(candidate);
  }
  ::closedir(dir);
  return best;
}

// The components of a card path, as the file system spells them (UTF-8).
std::vector<std::string> cardComponents(std::string_view relative) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (pos <= relative.size()) {
    // Windows takes "/" as a separator too.
    std::size_t next = relative.find_first_of("\\/", pos);
    std::string_view part = relative.substr(pos, next == std::string_view::npos ? std::string_view::npos : next - pos);
    pos = next == std::string_view::npos ? relative.size() + 1 : next + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      // As on a drive, ".." at the root stays there: a path never leaves the volume.
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(cp1250::toUtf8(part));
  }
  return parts;
}

std::string joinShown(std::string shown, const std::string& utf8Name) {
  if (shown.empty() || shown.back() != '/') shown.push_back('/');
  shown += toDisplayText(fs::path(utf8Name));
  return shown;
}

// The rest of a path that does not exist, in the spelling the program gave it.
std::string shownWithRest(std::string shown, const std::vector<std::string>& parts, std::size_t from) {
  for (std::size_t i = from; i < parts.size(); ++i) shown = joinShown(std::move(shown), parts[i]);
  return shown;
}

struct CardWalk {
  UniqueFd folder;
  std::string shown;
};

// Opens the card's root (the user's own mount point or folder, so a link there is followed) and then the first
// `count` components as folders, never through a link; `create` makes the missing ones.
bool walkCardFolders(const fs::path& root, const std::vector<std::string>& parts, std::size_t count, bool create,
                     CardWalk& walk, FileError& error) {
  walk.shown = toDisplayText(root);
  walk.folder.reset(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!walk.folder) {
    error.set(errno == ENOENT ? FileTrouble::Missing : FileTrouble::System, shownWithRest(walk.shown, parts, 0), errno);
    return false;
  }
  for (std::size_t i = 0; i < count; ++i) {
    std::optional<std::string> name = findEntry(walk.folder.get(), parts[i]);
    if (!name) {
      if (!create) {
        error.set(FileTrouble::Missing, shownWithRest(walk.shown, parts, i));
        return false;
      }
      // Folders the program makes on the card get the usual mode, nothing from the card.
      if (::mkdirat(walk.folder.get(), parts[i].c_str(), 0777) != 0 && errno != EEXIST) {
        error.set(FileTrouble::System, joinShown(walk.shown, parts[i]), errno);
        return false;
      }
      name = parts[i];
    }
    const std::string shown = joinShown(walk.shown, *name);
    int next = ::openat(walk.folder.get(), name->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (next < 0) {
      const int openError = errno;
      struct stat st {};
      if ((openError == ELOOP || openError == ENOTDIR) &&
          ::fstatat(walk.folder.get(), name->c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        error.set(troubleOfMode(st.st_mode, true), shown);
      } else {
        error.set(openError == ENOENT ? FileTrouble::Missing : FileTrouble::System, shown, openError);
      }
      return false;
    }
    walk.folder.reset(next);
    walk.shown = shown;
  }
  return true;
}

// The file at the end of a card path: its folder opened, its on-disk name found (or the given one).
bool reachCardFile(const FilePlace& place, CardWalk& walk, std::string& name, bool& exists, FileError& error) {
  const std::vector<std::string> parts = cardComponents(place.relative());
  if (parts.empty()) {
    error.set(FileTrouble::Folder, toDisplayText(place.path()));
    return false;
  }
  if (!walkCardFolders(place.path(), parts, parts.size() - 1, false, walk, error)) return false;
  std::optional<std::string> found = findEntry(walk.folder.get(), parts.back());
  exists = found.has_value();
  name = found ? *found : parts.back();
  return true;
}

// A link on the PC names the file to replace; a dangling one names the file to create.
fs::path followPcLinks(fs::path path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::error_code ec;
    fs::path target = fs::read_symlink(path, ec);
    if (ec) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

// Opens `name` in `folder` only when it is a regular file, and never blocks on the way.
UniqueFd openRegularAt(int folder, const char* name, int followFlag, bool singleName, const std::string& shown,
                       FileError& error) {
  struct stat before {};
  if (::fstatat(folder, name, &before, followFlag) != 0) {
    error.set(errno == ENOENT ? FileTrouble::Missing : FileTrouble::System, shown, errno);
    return UniqueFd();
  }
  if (FileTrouble t = troubleOfMode(before.st_mode, false); t != FileTrouble::None) {
    error.set(t, shown);
    return UniqueFd();
  }
  if (singleName && before.st_nlink > 1) {
    error.set(FileTrouble::HardLinked, shown);
    return UniqueFd();
  }
  const int noFollow = followFlag == AT_SYMLINK_NOFOLLOW ? O_NOFOLLOW : 0;
  UniqueFd fd(::openat(folder, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | noFollow));
  if (!fd) {
    error.set(errno == ELOOP    ? FileTrouble::Link
              : errno == ENOENT ? FileTrouble::Missing
                                : FileTrouble::System,
              shown, errno);
    return UniqueFd();
  }
  // The name may have been swapped between the look and the open.
  struct stat after {};
  if (::fstat(fd.get(), &after) != 0 || !S_ISREG(after.st_mode) || after.st_ino != before.st_ino ||
      after.st_dev != before.st_dev) {
    error.set(S_ISREG(after.st_mode) ? FileTrouble::Link : troubleOfMode(after.st_mode, false), shown);
    return UniqueFd();
  }
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    error.set(FileTrouble::System, shown, errno);
    return UniqueFd();
  }
  return fd;
}

}  // namespace

FilePlace FilePlace::onPc(fs::path path) {
  FilePlace p;
  p.path_ = std::move(path);
  return p;
}

FilePlace FilePlace::onCard(fs::path root, std::string_view relative) {
  FilePlace p;
  p.path_ = std::move(root);
  p.relative_ = std::string(relative);
  p.onCard_ = true;
  return p;
}

std::string FilePlace::displayText() const {
  if (!onCard_) return toDisplayText(path_);
  const std::vector<std::string> parts = cardComponents(relative_);
  CardWalk walk;
  walk.shown = toDisplayText(path_);
  walk.folder.reset(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::optional<std::string> name;
    if (walk.folder) name = findEntry(walk.folder.get(), parts[i]);
    if (!name) return shownWithRest(walk.shown, parts, i);
    walk.shown = joinShown(walk.shown, *name);
    if (i + 1 < parts.size()) {
      walk.folder.reset(
          ::openat(walk.folder.get(), name->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    }
  }
  return walk.shown;
}

UniqueFd openForReading(const FilePlace& place, FileError& error) {
  error = {};
  if (!place.onCard()) {
    const fs::path& path = place.path();
    return openRegularAt(AT_FDCWD, path.c_str(), 0, false, toDisplayText(path), error);
  }
  CardWalk walk;
  std::string name;
  bool exists = false;
  if (!reachCardFile(place, walk, name, exists, error)) return UniqueFd();
  const std::string shown = joinShown(walk.shown, name);
  if (!exists) {
    error.set(FileTrouble::Missing, shown);
    return UniqueFd();
  }
  return openRegularAt(walk.folder.get(), name.c_str(), AT_SYMLINK_NOFOLLOW, true, shown, error);
}

ssize_t readSome(int fd, void* buffer, std::size_t size) {
  ssize_t n;
  do {
    n = ::read(fd, buffer, size);
  } while (n < 0 && errno == EINTR);
  return n;
}

bool readWholeFile(const FilePlace& place, std::string& bytes, FileError& error) {
  bytes.clear();
  UniqueFd fd = openForReading(place, error);
  if (!fd) return false;
  char chunk[1 << 14];
  for (;;) {
    const ssize_t n = readSome(fd.get(), chunk, sizeof chunk);
    if (n < 0) {
      // What was not read cannot be handed on as if it were the whole file.
      error.set(FileTrouble::System, place.displayText(), errno);
      bytes.clear();
      return false;
    }
    if (n == 0) return true;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
}

FileError inspectPlace(const FilePlace& place, bool folder) {
  FileError error;
  struct stat st {};
  if (!place.onCard()) {
    const fs::path& path = place.path();
    if (::stat(path.c_str(), &st) != 0) {
      error.set(errno == ENOENT ? FileTrouble::Missing : FileTrouble::System, toDisplayText(path), errno);
    } else if (FileTrouble t = troubleOfMode(st.st_mode, folder); t != FileTrouble::None) {
      error.set(t, toDisplayText(path));
    }
    return error;
  }
  CardWalk walk;
  std::string name;
  bool exists = false;
  if (!reachCardFile(place, walk, name, exists, error)) return error;
  const std::string shown = joinShown(walk.shown, name);
  if (!exists) {
    error.set(FileTrouble::Missing, shown);
  } else if (::fstatat(walk.folder.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    error.set(errno == ENOENT ? FileTrouble::Missing : FileTrouble::System, shown, errno);
  } else if (FileTrouble t = troubleOfMode(st.st_mode, folder); t != FileTrouble::None) {
    error.set(t, shown);
  } else if (!folder && st.st_nlink > 1) {
    error.set(FileTrouble::HardLinked, shown);
  }
  return error;
}

bool openWriteSlot(const FilePlace& target, WriteSlot& slot, FileError& error) {
  error = {};
  slot = WriteSlot();
  if (target.onCard()) {
    CardWalk walk;
    if (!reachCardFile(target, walk, slot.name, slot.exists, error)) return false;
    slot.folder = std::move(walk.folder);
    slot.shown = joinShown(walk.shown, slot.name);
  } else {
    const fs::path path = followPcLinks(target.path());
    slot.shown = toDisplayText(target.path());
    if (path.filename().empty()) {
      error.set(FileTrouble::Folder, slot.shown);
      return false;
    }
    const fs::path folder = path.parent_path();
    slot.folder.reset(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!slot.folder) {
      error.set(errno == ENOENT ? FileTrouble::Missing : FileTrouble::System, slot.shown, errno);
      return false;
    }
    slot.name = path.filename().string();
    slot.exists = ::fstatat(slot.folder.get(), slot.name.c_str(), &slot.existing, AT_SYMLINK_NOFOLLOW) == 0;
  }
  if (target.onCard() && slot.exists &&
      ::fstatat(slot.folder.get(), slot.name.c_str(), &slot.existing, AT_SYMLINK_NOFOLLOW) != 0) {
    slot.exists = false;
  }
  if (slot.exists) {
    // Only a regular file is ever replaced: a link, pipe or device in its place stays untouched.
    if (FileTrouble t = troubleOfMode(slot.existing.st_mode, false); t != FileTrouble::None) {
      error.set(t, slot.shown);
      return false;
    }
  }
  return true;
}

UniqueFd createWorkFile(const fs::path& workFile, FileError& error) {
  if (::unlink(workFile.c_str()) != 0 && errno != ENOENT) {
    error.set(FileTrouble::System, toDisplayText(workFile), errno);
    return UniqueFd();
  }
  UniqueFd out(::open(workFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
  if (!out) error.set(FileTrouble::System, toDisplayText(workFile), errno);
  return out;
}

bool makeCardFolder(const fs::path& root, std::string_view relative, FileError& error) {
  error = {};
  const std::vector<std::string> parts = cardComponents(relative);
  CardWalk walk;
  return walkCardFolders(root, parts, parts.size(), true, walk, error);
}

}  // namespace nodra
