#pragma once
// The PC input file read the way the original read a text file: a CR LF pair arrives as one line feed
// (a lone CR stays), lines come in pieces of at most a given length, words are runs of non-blank bytes.
// Streams through one buffer: memory does not grow with the file, and lines are views into the buffer.
// A file that starts with the UTF-8 byte-order mark, or that is valid UTF-8 with at least one character of
// more than one byte, is taken as UTF-8 and handed on in Windows-1250 (the mark dropped); any other file
// byte for byte, as the program's own code page.
#include <filesystem>
#include <string>

#include <string_view>
#include <vector>
#include "platform/file_place.h"
#include "platform/utf8_text.h"

namespace nodra {

class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // False when the file cannot be opened for reading (missing, no rights, a folder, a pipe or device).
  bool open(const FilePlace& file, FileError& error);
  bool open(const std::filesystem::path& file) {
    FileError ignored;
    return open(FilePlace::onPc(file), ignored);
  }
  void close();

  // The next piece of a line: up to and including its line feed, at most `maxChars` characters; the rest of
  // a longer line comes as the next piece. The view lasts until the next call. False at the end.
  bool readLine(std::size_t maxChars, std::string_view& line);
  // After a piece that did not end its line: discards the rest of that line, its line feed included, and
  // returns how many characters it held (0 when the piece ended the line). Call it when done with the piece.
  std::size_t skipRestOfLine();
  // Skips blanks (space, tab, line feed, CR, vertical tab, form feed) and reads the word after them; of a
  // longer word only the first `maxChars` characters are kept, the rest is read past. False at the end of the
  // file before any word. The view lasts until the next call; `scratch` holds the word when it does not lie
  // in one piece in the buffer.
  bool readWord(std::string_view& word, std::string& scratch, std::size_t maxChars = kWordMax);
  // Discards the rest of the current line, its line feed included.
  void skipLine();
  // Whether the file is read as UTF-8, and the lines whose characters Windows-1250 lacks (written as "?").
  bool isUtf8() const { return utf8_; }
  const Utf8ToCp1250& conversion() const { return conversion_; }
  // Notes every line with such characters, not only the first ten; before open.
  void noteEveryReplacedLine() { everyReplacedLine_ = true; }

  // The line of the file, counted from 1, on which the last piece or word began.
  unsigned lineNumber() const { return lineNumber_; }

  // Far more than any field of a goods list; a longer word is no code or number anyone typed.
  static constexpr std::size_t kWordMax = 1024;

  // A read error (the medium went away) rather than the end of the file; `readError` is its errno.
  bool failed() const { return failed_; }
  int readError() const { return readError_; }

 private:
  // Reads more bytes after the unread ones; false at the end of the file.
  bool fill();
  bool readPiece(std::size_t maxChars, std::string_view& line);
  // Reads the whole file once to tell its encoding, then returns to its start.
  bool detectEncoding(FileError& error, const FilePlace& file);
  // Reads up to `room` bytes of the file into the buffer after `end_`; converted when the file is UTF-8.
  ssize_t readInto(std::size_t room);

  UniqueFd fd_;
  int readError_ = 0;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = true;  // until opened
  bool failed_ = false;
  unsigned linesDone_ = 0;   // line feeds consumed
  unsigned lineNumber_ = 0;  // of the last piece or word
  bool lineOpen_ = false;    // the last piece did not end its line
  bool utf8_ = false;
  bool everyReplacedLine_ = false;
  bool atStart_ = true;  // nothing read yet: a byte-order mark would still be there
  Utf8ToCp1250 conversion_;
  std::vector<char> raw_;  // UTF-8 as read, before conversion
  std::string converted_;
};

}  // namespace nodra
