#pragma once
// Reading the terminal's store files (DATA_OUT.TXT, ZOST_OUT.TXT, VP_OUT.TXT) by the record rules the
// formatted and the XML read-outs share. Streams: memory does not grow with the file.
#include <filesystem>
#include <string>

#include <string_view>
#include "platform/file_place.h"

namespace nodra {

class StoreDigest;

inline constexpr std::size_t kStoreLineMax = 248;   // characters of one read, the line feed included
inline constexpr std::size_t kStoreFieldMax = 99;   // characters kept of one field
inline constexpr std::size_t kShortLineMax = 5;     // reads this long or shorter are no records
inline constexpr std::size_t kStoreReadSlack = 64;  // bytes after a read that may be looked at (never used)

class StoreLineReader {
 public:
  StoreLineReader() = default;
  StoreLineReader(const StoreLineReader&) = delete;
  StoreLineReader& operator=(const StoreLineReader&) = delete;
  ~StoreLineReader();

  bool open(const FilePlace& file, FileError& error);
  bool open(const std::filesystem::path& file) {
    FileError ignored;
    return open(FilePlace::onPc(file), ignored);
  }
  void close();
  // Every byte read from the file from now on goes into `digest` as well (null: none).
  void digestInto(StoreDigest* digest) { digest_ = digest; }

  // The next read, valid until the next call: up to and including its line feed, at most kStoreLineMax
  // characters (the rest of a longer line comes as the next read); a CR before a LF is dropped. False once the
  // file is done. Reading stops after a read that runs into the end of the file; a read that stops at a line
  // end (or at the length limit) is followed by one more, empty when the file ends there. `endedWithEmptyRead`
  // then tells whether that final empty read happened: true for an empty file or one ending with a line end,
  // false when its last line runs into the end of the file without one. The kStoreReadSlack bytes after a read
  // may be read; what they hold means nothing.
  bool next(std::string_view& line);
  bool endedWithEmptyRead() const { return lastReadEmpty_; }
  // A read error (the medium went away) rather than the end of the file; `readError` is its errno.
  bool failed() const { return failed_; }
  int readError() const { return readError_; }

 private:
  void fill();

  UniqueFd fd_;
  StoreDigest* digest_ = nullptr;
  int readError_ = 0;
  std::string buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;     // the file has no more bytes to give
  bool hitEnd_ = false;  // the last read ran into the end of the file: no further reads
  bool failed_ = false;
  bool lastReadEmpty_ = true;
};

inline bool isRecordLine(std::string_view line) { return line.size() > kShortLineMax; }

}  // namespace nodra
