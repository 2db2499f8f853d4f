#include "fill/input_file.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace nodra {

namespace {

constexpr std::size_t kChunk = 1 << 18;

constexpr auto kBlanks = [] {
  std::array<bool, 256> blanks{};
  for (unsigned char c : {' ', '\t', '\n', '\r', '\v', '\f'}) blanks[c] = true;
  return blanks;
}();

bool isBlank(char c) { return kBlanks[static_cast<unsigned char>(c)]; }

}  // namespace

InputFile::~InputFile() { close(); }

bool InputFile::detectEncoding(FileError& error, const FilePlace& file) {
  Utf8Check check;
  std::vector<char> chunk(kChunk);
  bool first = true;
  bool mark = false;
  for (;;) {
    const ssize_t n = readSome(fd_.get(), chunk.data(), chunk.size());
    if (n < 0) {
      error.set(FileTrouble::System, file.displayText(), errno);
      return false;
    }
    if (n == 0) break;
    if (first) mark = n >= 3 && std::memcmp(chunk.data(), "\xEF\xBB\xBF", 3) == 0;
    first = false;
    check.feed(chunk.data(), static_cast<std::size_t>(n));
    // One byte that is no UTF-8 settles it: the file is the program's own code page.
    if (!check.valid() && !mark) break;
  }
  utf8_ = mark || (check.valid() && check.multiByte());
  if (::lseek(fd_.get(), 0, SEEK_SET) != 0) {
    error.set(FileTrouble::System, file.displayText(), errno);
    return false;
  }
  return true;
}

bool InputFile::open(const FilePlace& file, FileError& error) {
  close();
  fd_ = openForReading(file, error);
  if (!fd_) return false;
  conversion_ = Utf8ToCp1250();
  if (everyReplacedLine_) conversion_.keepEveryLine();
  atStart_ = true;
  if (!detectEncoding(error, file)) {
    close();
    return false;
  }
  buffer_.resize(2 * kChunk);
  pos_ = end_ = 0;
  eof_ = failed_ = false;
  readError_ = 0;
  linesDone_ = lineNumber_ = 0;
  lineOpen_ = false;
  return true;
}

void InputFile::close() {
  fd_.reset();
  eof_ = true;
}

bool InputFile::fill() {
  if (eof_) return false;
  if (pos_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (buffer_.size() - end_ < kChunk) buffer_.resize(end_ + kChunk);
  const ssize_t n = readInto(buffer_.size() - end_);
  if (n <= 0) {
    if (n < 0) {
      failed_ = true;
      readError_ = errno;
    }
    eof_ = true;
    return false;
  }
  end_ += static_cast<std::size_t>(n);
  return true;
}

ssize_t InputFile::readInto(std::size_t room) {
  if (!utf8_) return readSome(fd_.get(), buffer_.data() + end_, room);
  // Converted text is never longer than what it came from, so a read of `room` bytes fits.
  for (;;) {
    raw_.resize(room);
    const ssize_t n = readSome(fd_.get(), raw_.data(), room);
    if (n < 0) return n;
    converted_.clear();
    std::size_t skip = 0;
    if (atStart_ && n >= 3 && std::memcmp(raw_.data(), "\xEF\xBB\xBF", 3) == 0) skip = 3;
    if (n > 0) atStart_ = false;
    if (n == 0) {
      conversion_.finish(converted_);
    } else {
      conversion_.convert(raw_.data() + skip, static_cast<std::size_t>(n) - skip, converted_);
    }
    std::memcpy(buffer_.data() + end_, converted_.data(), converted_.size());
    // A read that gave only part of a character (or only the mark) gave nothing yet: read on.
    if (!converted_.empty() || n == 0) return static_cast<ssize_t>(converted_.size());
  }
}

// The CR of a CR LF pair counts for nothing, so the search looks one byte further than the piece may be
// long: a pair just after the limit still ends the line inside it.
bool InputFile::readLine(std::size_t maxChars, std::string_view& line) {
  if (!readPiece(maxChars, line)) return false;
  if (!lineOpen_) lineNumber_ = linesDone_ + 1;
  lineOpen_ = line.back() != '\n';
  if (!lineOpen_) ++linesDone_;
  return true;
}

std::size_t InputFile::skipRestOfLine() {
  if (!lineOpen_) return 0;
  lineOpen_ = false;
  std::size_t skipped = 0;
  for (;;) {
    const char* start = buffer_.data() + pos_;
    if (const void* lf = pos_ < end_ ? std::memchr(start, '\n', end_ - pos_) : nullptr) {
      const auto length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
      // The CR of a CR LF pair belongs to the line end, not to the line.
      skipped += length - (length > 0 && start[length - 1] == '\r' ? 1 : 0);
      pos_ += length + 1;
      ++linesDone_;
      return skipped;
    }
    skipped += end_ - pos_;
    pos_ = end_;
    if (!fill()) return skipped;
  }
}

bool InputFile::readPiece(std::size_t maxChars, std::string_view& line) {
  if (maxChars == 0) return false;
  for (;;) {
    const std::size_t available = end_ - pos_;
    const std::size_t window = std::min(available, maxChars + 1);
    char* const start = buffer_.data() + pos_;
    if (void* found = window > 0 ? std::memchr(start, '\n', window) : nullptr) {
      const auto lf = static_cast<std::size_t>(static_cast<char*>(found) - start);
      const bool pair = lf > 0 && start[lf - 1] == '\r';
      if ((pair ? lf : lf + 1) <= maxChars) {
        if (pair) start[lf - 1] = '\n';  // the pair read as one line end
        line = std::string_view(start, pair ? lf : lf + 1);
        pos_ += lf + 1;
        return true;
      }
    }
    if (available <= maxChars && fill()) continue;
    // A full piece of a longer line, or the last line of the file without its line end.
    const std::size_t piece = std::min(end_ - pos_, maxChars);
    if (piece == 0) return false;
    line = std::string_view(buffer_.data() + pos_, piece);
    pos_ += piece;
    return true;
  }
}

bool InputFile::readWord(std::string_view& word, std::string& scratch, std::size_t maxChars) {
  lineOpen_ = false;
  // Skip the blanks before the word, counting the lines they end.
  for (;;) {
    const char* p = buffer_.data() + pos_;
    const char* const end = buffer_.data() + end_;
    while (p < end && isBlank(*p)) {
      if (*p == '\n') ++linesDone_;
      ++p;
    }
    pos_ = static_cast<std::size_t>(p - buffer_.data());
    if (p < end) break;
    if (!fill()) return false;
  }
  lineNumber_ = linesDone_ + 1;
  bool inScratch = false;
  for (;;) {
    const char* const start = buffer_.data() + pos_;
    const char* const end = buffer_.data() + end_;
    const char* p = start;
    while (p < end && !isBlank(*p)) ++p;
    pos_ = static_cast<std::size_t>(p - buffer_.data());
    if (p < end && !inScratch) {
      word = std::string_view(start, std::min(static_cast<std::size_t>(p - start), maxChars));
      return true;
    }
    // The word runs to the end of what was read: keep its part before reading on, up to the limit, so that
    // memory stays the same however long the word.
    if (!inScratch) scratch.clear();
    scratch.append(start, std::min(static_cast<std::size_t>(p - start), maxChars - std::min(maxChars, scratch.size())));
    inScratch = true;
    if (p < end || !fill()) {
      word = scratch;
      return true;
    }
  }
}

void InputFile::skipLine() {
  lineOpen_ = false;
  for (;;) {
    const char* start = buffer_.data() + pos_;
    if (const void* lf = pos_ < end_ ? std::memchr(start, '\n', end_ - pos_) : nullptr) {
      pos_ += static_cast<std::size_t>(static_cast<const char*>(lf) - start) + 1;
      ++linesDone_;
      return;
    }
    pos_ = end_;
    if (!fill()) return;
  }
}

}  // namespace nodra
