#pragma once
// Reading the terminal's store files (DATA_OUT.TXT, ZOST_OUT.TXT, VP_OUT.TXT) by the record rules the
// formatted and the XML read-outs share. Streams: memory does not grow with the file.
#include <filesystem>
#include <string>

#include <string_view>
#include <vector>
#include "platform/file_place.h"

namespace nodra {

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

// The fields of one record line: ";" ends a field; only printable ASCII (32..126) is kept; trailing spaces
// are removed, leading ones stay; a field keeps at most kStoreFieldMax characters. Text after the last ";"
// forms no field. Reused from line to line, so that splitting allocates nothing.
class StoreFields {
 public:
  StoreFields();

  // Returns the number of fields. Their views point into the line (or, for a field that loses characters,
  // into this object): valid while the line is and until the next split.
  int split(std::string_view line);
  // The same for a read of StoreLineReader, which is looked at in whole blocks, past its end.
  int splitRead(std::string_view read);
  int size() const { return count_; }
  // Empty past the last field.
  std::string_view operator[](int position) const {
    return position < count_ ? fields_[static_cast<std::size_t>(position)] : std::string_view{};
  }

 private:
  void reserveFor(std::size_t lineLength);
  int split(std::string_view line, bool slackAfter);

  std::vector<char> text_;  // the kept characters of fields that lose some
  std::vector<std::string_view> fields_;
  int count_ = 0;
};

// The same rules, calling onField(position, text) for each field in order.
template <typename OnField>
void splitStoreFields(std::string_view line, OnField&& onField) {
  StoreFields fields;
  const int count = fields.split(line);
  for (int i = 0; i < count; ++i) onField(i, fields[i]);
}

// Numbers in the terminal's files, read as the neutral locale reads them: leading blanks, optional sign,
// digits with "." as the decimal point, optional exponent; reading stops at the first character that does
// not fit; no number gives 0 ("12,50" reads as 12).
double readStoreDouble(std::string_view text);
// The same, held as a 32-bit float. False (and 0) when the value lies beyond the float range.
bool readStoreFloat(std::string_view text, float& value);

}  // namespace nodra
