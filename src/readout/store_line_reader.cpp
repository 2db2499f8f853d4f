#include "readout/store_line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "readout/short_text.h"

namespace nodra {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
// A read may take one byte more than kStoreLineMax from the file: the CR of a CR LF is not counted.
constexpr std::size_t kWindow = kStoreLineMax + 1;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Lines are split 64 bytes at a time: bit i of a mask stands for byte i of the chunk.
constexpr std::size_t kChunk = 64;
constexpr std::size_t kBlock = 16;
static_assert(kChunk <= kStoreReadSlack, "a chunk begins inside the read");

struct ChunkMasks {
  std::uint64_t separators;  // ";"
  std::uint64_t dropped;     // outside 32..126
};

ChunkMasks chunkMasks(const char* chunk) {
  ChunkMasks masks{0, 0};
#if defined(__SSE2__)
  const auto part = [&masks, chunk](int at) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk + at));
    // Compared as signed bytes, so every byte from 128 up lies below 32 as well.
    const __m128i dropped =
        _mm_or_si128(_mm_cmplt_epi8(bytes, _mm_set1_epi8(32)), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(127)));
    const __m128i separators = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(';'));
    masks.separators |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(separators))} << at;
    masks.dropped |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(dropped))} << at;
  };
  part(0);
  part(16);
  part(32);
  part(48);
#else
  for (std::size_t i = 0; i < kChunk; ++i) {
    const auto c = static_cast<unsigned char>(chunk[i]);
    if (c == ';') masks.separators |= std::uint64_t{1} << i;
    if (c < 32 || c > 126) masks.dropped |= std::uint64_t{1} << i;
  }
#endif
  return masks;
}

constexpr auto kKept = [] {
  std::array<unsigned char, 256> kept{};
  for (int c = 32; c <= 126; ++c) kept[static_cast<std::size_t>(c)] = 1;
  return kept;
}();

std::string_view withoutTrailingSpaces(const char* text, std::size_t length) {
  while (length > 0 && text[length - 1] == ' ') --length;
  return {text, length};
}

// "12.50", "-3", ".5": an optional sign, digits with at most one point, nothing else, 1 to 15 digits. Gives
// what readStoreDouble gives; false for anything else.
bool readPlainDecimal(std::string_view text, double& value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  const auto size = static_cast<std::size_t>(end - p);
  if constexpr (std::endian::native == std::endian::little) {
    if (size >= 1 && size <= 8) {
      std::uint64_t mantissa = 0;
      std::size_t fractionDigits = 0;
      if (!short_text::decimal(p, size, false, mantissa, fractionDigits)) return false;
      value = static_cast<double>(mantissa) / kPowersOf10[fractionDigits];
      if (negative) value = -value;
      return true;
    }
  }
  std::uint64_t mantissa = 0;
  const char* const digitsStart = p;
  while (p < end && isDigit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
  auto digits = static_cast<std::size_t>(p - digitsStart);
  std::size_t fractionDigits = 0;
  if (p < end && *p == '.') {
    const char* const fractionStart = ++p;
    while (p < end && isDigit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    fractionDigits = static_cast<std::size_t>(p - fractionStart);
    digits += fractionDigits;
  }
  if (p != end || digits == 0 || digits > 15) return false;
  value = static_cast<double>(mantissa) / kPowersOf10[fractionDigits];
  if (negative) value = -value;
  return true;
}

}  // namespace

StoreFields::StoreFields() { reserveFor(kStoreLineMax); }

void StoreFields::reserveFor(std::size_t lineLength) {
  if (fields_.size() > lineLength) return;
  // Kept runs are moved in whole blocks.
  text_.resize(lineLength + kBlock);
  fields_.resize(lineLength + 1);
}

int StoreFields::split(std::string_view line) { return split(line, false); }

int StoreFields::splitRead(std::string_view read) { return split(read, true); }

// A field without characters to drop is a view into the line; the others are copied without them.
int StoreFields::split(std::string_view line, bool slackAfter) {
  const char* const data = line.data();
  const std::size_t n = line.size();
  reserveFor(n);
  char* text = text_.data();
  int count = 0;
  std::size_t fieldStart = 0;
  bool dropping = false;  // the field so far holds a character to drop
  for (std::size_t base = 0; base < n; base += kChunk) {
    // Without slack, a line's last part is looked at in a copy, so that nothing past the line is read.
    char tail[kChunk];
    const char* chunk = data + base;
    std::uint64_t inLine = ~std::uint64_t{0};
    if (n - base < kChunk) {
      if (!slackAfter) {
        std::memset(tail, 0, kChunk);
        std::memcpy(tail, chunk, n - base);
        chunk = tail;
      }
      inLine = (std::uint64_t{1} << (n - base)) - 1;
    }
    ChunkMasks masks = chunkMasks(chunk);
    masks.separators &= inLine;
    masks.dropped &= inLine;
    while (masks.separators != 0) {
      const int i = std::countr_zero(masks.separators);
      masks.separators &= masks.separators - 1;
      const std::uint64_t before = (std::uint64_t{1} << i) - 1;
      std::uint64_t drops = masks.dropped & before;
      dropping = dropping || drops != 0;
      masks.dropped &= ~before;
      const std::size_t fieldEnd = base + static_cast<std::size_t>(i);
      const char* const field = data + fieldStart;
      std::size_t length = fieldEnd - fieldStart;
      if (!dropping) {
        fields_[static_cast<std::size_t>(count++)] =
            withoutTrailingSpaces(field, length < kStoreFieldMax ? length : kStoreFieldMax);
      } else if (slackAfter && fieldStart >= base) {
        // Within one chunk the kept runs between the dropped characters are moved sixteen bytes at a time.
        char* out = text;
        std::size_t from = fieldStart - base;
        const char* const chunkStart = data + base;
        for (;;) {
          const std::size_t to =
              drops != 0 ? static_cast<std::size_t>(std::countr_zero(drops)) : static_cast<std::size_t>(i);
          for (std::size_t k = 0; k < to - from; k += kBlock) std::memcpy(out + k, chunkStart + from + k, kBlock);
          out += to - from;
          if (drops == 0) break;
          drops &= drops - 1;
          from = to + 1;
        }
        auto kept = static_cast<std::size_t>(out - text);
        if (kept > kStoreFieldMax) kept = kStoreFieldMax;
        fields_[static_cast<std::size_t>(count++)] = withoutTrailingSpaces(text, kept);
        text += kept;
      } else {
        // Every character is written; the count moves on over the kept ones.
        std::size_t kept = 0;
        for (std::size_t k = 0; k < length; ++k) {
          text[kept] = field[k];
          kept += kKept[static_cast<unsigned char>(field[k])];
        }
        if (kept > kStoreFieldMax) kept = kStoreFieldMax;
        fields_[static_cast<std::size_t>(count++)] = withoutTrailingSpaces(text, kept);
        text += kept;
      }
      fieldStart = fieldEnd + 1;
      dropping = false;
    }
    dropping = dropping || masks.dropped != 0;
  }
  count_ = count;
  return count;
}

StoreLineReader::~StoreLineReader() { close(); }

bool StoreLineReader::open(const FilePlace& file, FileError& error) {
  close();
  fd_ = openForReading(file, error);
  if (!fd_) return false;
  buffer_.resize(kBufferSize + kStoreReadSlack);
  pos_ = end_ = 0;
  eof_ = failed_ = hitEnd_ = false;
  readError_ = 0;
  lastReadEmpty_ = true;
  return true;
}

void StoreLineReader::close() { fd_.reset(); }

// Keeps at least kWindow bytes ahead unless the file ends first, so a read never straddles a refill.
void StoreLineReader::fill() {
  if (eof_ || !fd_ || end_ - pos_ >= kWindow) return;
  std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
  end_ -= pos_;
  pos_ = 0;
  while (end_ < kWindow) {
    ssize_t n = ::read(fd_.get(), buffer_.data() + end_, kBufferSize - end_);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      eof_ = true;
      failed_ = n < 0;
      if (n < 0) readError_ = errno;
      return;
    }
    end_ += static_cast<std::size_t>(n);
  }
}

bool StoreLineReader::next(std::string_view& line) {
  line = {};
  // After a read that ran into the end of the file there is no further read: a file whose last line has no
  // line end has no empty read after it.
  if (hitEnd_ || !fd_) return false;
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
  double d = 0.0;
  // At most 15 digits stay far inside the float range.
  if (readPlainDecimal(text, d)) {
    value = static_cast<float>(d);
    return true;
  }
  d = readStoreDouble(text);
  if (!(std::fabs(d) <= static_cast<double>(std::numeric_limits<float>::max()))) {
    value = 0.0f;
    return false;
  }
  value = static_cast<float>(d);
  return true;
}

}  // namespace nodra
