#include "readout/store_line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace nodra {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
// A read may take one byte more than kStoreLineMax from the file: the CR of a CR LF is not counted.
constexpr std::size_t kWindow = kStoreLineMax + 1;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

StoreLineReader::~StoreLineReader() { close(); }

bool StoreLineReader::open(const std::filesystem::path& file) {
  close();
  fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  buffer_.resize(kBufferSize);
  pos_ = end_ = 0;
  eof_ = failed_ = hitEnd_ = false;
  lastReadEmpty_ = true;
  return true;
}

void StoreLineReader::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

// Keeps at least kWindow bytes ahead unless the file ends first, so a read never straddles a refill.
void StoreLineReader::fill() {
  if (eof_ || fd_ < 0 || end_ - pos_ >= kWindow) return;
  std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
  end_ -= pos_;
  pos_ = 0;
  while (end_ < kWindow) {
    ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      eof_ = true;
      failed_ = n < 0;
      return;
    }
    end_ += static_cast<std::size_t>(n);
  }
}

bool StoreLineReader::next(std::string_view& line) {
  line = {};
  // After a read that ran into the end of the file there is no further read: a file whose last line has no
  // line end has no empty read after it.
  if (hitEnd_ || fd_ < 0) return false;
  fill();
  const std::size_t available = end_ - pos_;
  if (available == 0) {
    hitEnd_ = true;
    lastReadEmpty_ = true;
    return false;
  }
  char* start = buffer_.data() + pos_;
  const std::size_t window = available < kWindow ? available : kWindow;
  if (const void* lf = std::memchr(start, '\n', window)) {
    const auto i = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
    if (i > 0 && start[i - 1] == '\r') {
      // CR LF reads as LF: the CR's place takes the LF, and the read ends there.
      start[i - 1] = '\n';
      line = std::string_view(start, i);
      pos_ += i + 1;
      lastReadEmpty_ = false;
      return true;
    }
    if (i < kStoreLineMax) {
      line = std::string_view(start, i + 1);
      pos_ += i + 1;
      lastReadEmpty_ = false;
      return true;
    }
  }
  // No line end within the limit: the read takes what there is, at most kStoreLineMax characters.
  const std::size_t length = available < kStoreLineMax ? available : kStoreLineMax;
  hitEnd_ = length < kStoreLineMax;
  line = std::string_view(start, length);
  pos_ += length;
  lastReadEmpty_ = false;
  return true;
}

double readStoreDouble(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                             text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t digitsStart = i;
  std::size_t digits = 0;
  std::size_t fractionDigits = 0;
  std::uint64_t mantissa = 0;
  while (i < text.size() && isDigit(text[i])) {
    mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
    ++i, ++digits;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
      ++i, ++digits, ++fractionDigits;
    }
  }
  if (digits == 0) return 0.0;
  std::size_t end = i;
  bool exponent = false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) ++j;
      end = j;
      exponent = true;
    }
  }
  double value = 0.0;
  if (!exponent && digits <= 15) {
    // Both operands are exact, so the one division rounds correctly: the value from_chars would give.
    value = static_cast<double>(mantissa) / kPowersOf10[fractionDigits];
  } else {
    const char* first = text.data() + digitsStart;
    const char* last = text.data() + end;
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
      // Past the double range in either direction: the exponent's sign tells which.
      std::string_view rest(first, static_cast<std::size_t>(last - first));
      std::size_t e = rest.find_first_of("eE");
      bool tiny = e != std::string_view::npos && e + 1 < rest.size() && rest[e + 1] == '-';
      value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
  }
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
