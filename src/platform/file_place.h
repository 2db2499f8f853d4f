#pragma once
// Where a file lives, and so how far it is trusted, and the only ways the program opens one.
//
// The PC side is the user's own: links there are the user's set-up and are followed. The card is anyone's:
// below its root every name is taken without following a link, one component at a time and without regard
// to case (the card does not distinguish it, Linux may), and only regular files are ever opened. No open
// waits on a pipe or device, on either side.
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/file_error.h"
#include "platform/unique_fd.h"

namespace nodra {

class FilePlace {
 public:
  FilePlace() = default;
  // A plain path is a path on the PC.
  FilePlace(std::filesystem::path pcPath) : path_(std::move(pcPath)) {}  // NOLINT(google-explicit-constructor)
  static FilePlace onPc(std::filesystem::path path);
  // `relative` is Windows-1250 text with "\" (or "/") separators, as the terminal's paths are written;
  // ".." never climbs above the root.
  static FilePlace onCard(std::filesystem::path root, std::string_view relative);

  bool onCard() const { return onCard_; }
  // The PC path, or the card's root.
  const std::filesystem::path& path() const { return path_; }
  const std::string& relative() const { return relative_; }
  // As the user reads it (Windows-1250, "/" separators); on the card in the card's own spelling where the
  // names exist, the program's where they do not.
  std::string displayText() const;

 private:
  std::filesystem::path path_;
  std::string relative_;
  bool onCard_ = false;
};

// A regular file opened for reading; the descriptor reads blocking.
UniqueFd openForReading(const FilePlace& place, FileError& error);
bool readWholeFile(const FilePlace& place, std::string& bytes, FileError& error);
// One read(2) that a signal does not cut short: the bytes read, 0 at the end of the file, -1 with errno set.
ssize_t readSome(int fd, void* buffer, std::size_t size);

// What stands at the place, looked at without opening it: no trouble for a regular file (for a folder when
// `folder` is set), Missing when nothing is there, otherwise what is in the way.
FileError inspectPlace(const FilePlace& place, bool folder = false);

// The folder a file is about to be written into and the file's name there: what every replacement starts from.
// On the PC a linked target is followed to the file it names, so that the link stays a link.
struct WriteSlot {
  UniqueFd folder;
  std::string name;  // as on disk (UTF-8)
  bool exists = false;
  struct stat existing {};
  std::string shown;  // the target as the user reads it
};
bool openWriteSlot(const FilePlace& target, WriteSlot& slot, FileError& error);

// Creates one of the program's work files on the PC anew: whatever stood at its name (an old copy, a pipe, a
// link) is removed first, so the file is always a fresh regular file of the usual mode. Opened for writing.
UniqueFd createWorkFile(const std::filesystem::path& workFile, FileError& error);

// Creates a folder on the card, and the folders above it, where they are missing; never through a link.
bool makeCardFolder(const std::filesystem::path& root, std::string_view relative, FileError& error);

}  // namespace nodra
