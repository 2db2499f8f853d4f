#pragma once
// Replacing a file so that a crash or a pulled card leaves the old file or the new one, never a torn one:
// write a temporary file beside the target, flush it to the medium, rename it over the target, flush the folder.
// The new file never inherits more than the old one's read and write bits, limited by the umask.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_place.h"

namespace nodra {

// A read-only target or folder counts as not writable even for root, as a write-protected card would.
bool isWritable(const FilePlace& target, FileError& error);

class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter();  // an uncommitted write is discarded; the target stays as it was

  // Also removes what earlier, interrupted writes left beside the target.
  bool open(const FilePlace& target, FileError& error);
  bool write(std::string_view bytes, FileError& error);
  // Flushes, renames over the target and flushes the folder.
  bool commit(FileError& error);
  void discard();
  bool isOpen() const { return fd_.valid(); }

 private:
  bool flushBuffer(FileError& error);
  bool fail(FileError& error, int systemError);
  void forgetTemporary();

  WriteSlot slot_;
  std::string temporary_;
  UniqueFd fd_;
  std::string buffer_;
  // The temporary's identity while it is being written, so that other writers leave it alone.
  std::uint64_t temporaryDevice_ = 0;
  std::uint64_t temporaryInode_ = 0;
  bool registered_ = false;
};

// The whole content at once.
bool replaceFile(const FilePlace& target, std::string_view bytes, FileError& error);

// Copies `source` over `target` atomically. Fails when the source cannot be read. `lines`, when given, counts
// the lines copied (a last one without its line end counts too).
bool copyFileReplacing(const FilePlace& source, const FilePlace& target, FileError& error,
                       std::uint64_t* lines = nullptr);

// The names this writer gives its temporary files ("~ND12345.TMP").
bool isTemporaryName(std::string_view name);

}  // namespace nodra
