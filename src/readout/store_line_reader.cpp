#include "readout/store_line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace nodra {

namespace {
constexpr std::size_t kReadChunk = 1 << 16;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

StoreLineReader::~StoreLineReader() { close(); }

bool StoreLineReader::open(const std::filesystem::path& file) {
  close();
  fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  buffer_.resize(kReadChunk);
  pos_ = end_ = 0;
  eof_ = failed_ = false;
  lastReadEmpty_ = true;
  line_.reserve(kStoreLineMax);
  return true;
}

void StoreLineReader::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool StoreLineReader::fill() {
  if (eof_ || fd_ < 0) return false;
  for (;;) {
    ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      eof_ = true;
      failed_ = n < 0;
      return false;
    }
    pos_ = 0;
    end_ = static_cast<std::size_t>(n);
    return true;
  }
}

bool StoreLineReader::next(std::string_view& line) {
  line_.clear();
  while (line_.size() < kStoreLineMax) {
    if (pos_ == end_ && !fill()) break;
    char c = buffer_[pos_++];
    if (c == '\r') {
      // A CR directly before a LF is part of the line end; the LF may lie in the next chunk.
      if (pos_ == end_) fill();
      if (pos_ < end_ && buffer_[pos_] == '\n') continue;
    }
    line_.push_back(c);
    if (c == '\n') break;
  }
  lastReadEmpty_ = line_.empty();
  line = line_;
  return !line_.empty();
}

double readStoreDouble(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  std::size_t start = i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::size_t digitsStart = i;
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  std::size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) ++j;
      end = j;
    }
  }
  (void)start;
  double value = 0.0;
  const char* first = text.data() + digitsStart;
  const char* last = text.data() + end;
  auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Past the double range in either direction: the exponent's sign tells which.
    std::string_view rest(first, static_cast<std::size_t>(last - first));
    std::size_t e = rest.find_first_of("eE");
    bool tiny = e != std::string_view::npos && e + 1 < rest.size() && rest[e + 1] == '-';
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  (void)ptr;
  return negative ? -value : value;
}

bool readStoreFloat(std::string_view text, float& value) {
  double d = readStoreDouble(text);
  if (!(std::fabs(d) <= static_cast<double>(std::numeric_limits<float>::max()))) {
    value = 0.0f;
    return false;
  }
  value = static_cast<float>(d);
  return true;
}

}  // namespace nodra
