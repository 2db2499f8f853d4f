#pragma once
// The PC input file read the way the original read a text file: a CR LF pair arrives as one line feed
// (a lone CR stays), lines come in pieces of at most a given length, words are runs of non-blank bytes.
// Streams through one buffer: memory does not grow with the file, and lines are views into the buffer.
#include <filesystem>
#include <string>

#include <string_view>
#include <vector>
#include "platform/file_place.h"

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
  // Skips blanks (space, tab, line feed, CR, vertical tab, form feed) and reads the word after them.
  // False at the end of the file before any word. The view lasts until the next call; `scratch` holds the
  // word when it does not lie in one piece in the buffer.
  bool readWord(std::string_view& word, std::string& scratch);
  // Discards the rest of the current line, its line feed included.
  void skipLine();

  // A read error (the medium went away) rather than the end of the file; `readError` is its errno.
  bool failed() const { return failed_; }
  int readError() const { return readError_; }

 private:
  // Reads more bytes after the unread ones; false at the end of the file.
  bool fill();

  UniqueFd fd_;
  int readError_ = 0;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = true;  // until opened
  bool failed_ = false;
};

}  // namespace nodra
