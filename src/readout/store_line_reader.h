#pragma once
// Reading the terminal's store files (DATA_OUT.TXT, ZOST_OUT.TXT, VP_OUT.TXT) by the record rules the
// formatted and the XML read-outs share. Streams: memory does not grow with the file.
#include <filesystem>
#include <string>
#include <string_view>

namespace nodra {

inline constexpr std::size_t kStoreLineMax = 248;  // characters of one read, the line feed included
inline constexpr std::size_t kStoreFieldMax = 99;  // characters kept of one field
inline constexpr std::size_t kShortLineMax = 5;    // reads this long or shorter are no records

class StoreLineReader {
 public:
  StoreLineReader() = default;
  StoreLineReader(const StoreLineReader&) = delete;
  StoreLineReader& operator=(const StoreLineReader&) = delete;
  ~StoreLineReader();

  bool open(const std::filesystem::path& file);
  void close();

  // The next read, valid until the next call: up to and including its line feed, at most kStoreLineMax
  // characters (the rest of a longer line comes as the next read); a CR before a LF is dropped. False once the
  // file is done. Reading stops after a read that runs into the end of the file; a read that stops at a line
  // end (or at the length limit) is followed by one more, empty when the file ends there. `endedWithEmptyRead`
  // then tells whether that final empty read happened: true for an empty file or one ending with a line end,
  // false when its last line runs into the end of the file without one.
  bool next(std::string_view& line);
  bool endedWithEmptyRead() const { return lastReadEmpty_; }
  // A read error (the medium went away) rather than the end of the file.
  bool failed() const { return failed_; }

 private:
  void fill();

  int fd_ = -1;
  std::string buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;     // the file has no more bytes to give
  bool hitEnd_ = false;  // the last read ran into the end of the file: no further reads
  bool failed_ = false;
  bool lastReadEmpty_ = true;
};

inline bool isRecordLine(std::string_view line) { return line.size() > kShortLineMax; }

// Splits a record line into fields: ";" ends a field; only printable ASCII (32..126) is kept; trailing spaces
// are removed, leading ones stay; a field keeps at most kStoreFieldMax characters. Text after the last ";"
// forms no field. Calls onField(position, text) for each field in order.
template <typename OnField>
void splitStoreFields(std::string_view line, OnField&& onField) {
  char field[kStoreFieldMax];
  std::size_t length = 0;
  int position = 0;
  for (char c : line) {
    if (c == ';') {
      while (length > 0 && field[length - 1] == ' ') --length;
      onField(position++, std::string_view(field, length));
      length = 0;
    } else if (static_cast<unsigned char>(c - 32) <= 94 && length < kStoreFieldMax) {
      field[length++] = c;
    }
  }
}

// Numbers in the terminal's files, read as the neutral locale reads them: leading blanks, optional sign,
// digits with "." as the decimal point, optional exponent; reading stops at the first character that does
// not fit; no number gives 0 ("12,50" reads as 12).
double readStoreDouble(std::string_view text);
// The same, held as a 32-bit float. False (and 0) when the value lies beyond the float range.
bool readStoreFloat(std::string_view text, float& value);

}  // namespace nodra
