#pragma once
// Short texts moved and examined in a few fixed-size steps instead of library calls and byte loops.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace nodra {

// Copies the text in moves of 4, 8 or 16 bytes (overlapping where the size asks for it).
[[gnu::always_inline]] inline char* copyShort(char* out, std::string_view text) {
  const char* in = text.data();
  const std::size_t n = text.size();
  if (n >= 8 && n <= 16) {
    std::memcpy(out, in, 8);
    std::memcpy(out + n - 8, in + n - 8, 8);
  } else if (n > 16 && n <= 32) {
    std::memcpy(out, in, 16);
    std::memcpy(out + n - 16, in + n - 16, 16);
  } else if (n >= 4 && n < 8) {
    std::memcpy(out, in, 4);
    std::memcpy(out + n - 4, in + n - 4, 4);
  } else if (n > 0 && n < 4) {
    out[0] = in[0];
    out[n / 2] = in[n / 2];
    out[n - 1] = in[n - 1];
  } else if (n > 32) {
    std::memcpy(out, in, n);
  }
  return out + n;
}

namespace short_text {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighBits = 0x80 * kOnes;

// One to eight bytes as a little-endian word, zero bytes after them; nothing past them is read.
inline std::uint64_t load(const char* p, std::size_t size) {
  if (size >= 4) {
    std::uint32_t first;
    std::uint32_t last;
    std::memcpy(&first, p, 4);
    std::memcpy(&last, p + size - 4, 4);
    return first | std::uint64_t{last} << (8 * (size - 4));
  }
  const auto byte = [p](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i); };
  return byte(0) | byte(size / 2) | byte(size - 1);
}

// The low `size` bytes of a word (size 0 to 8).
inline std::uint64_t firstBytes(std::size_t size) {
  return size >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * size)) - 1;
}

// The high bit of each zero byte, exactly.
inline std::uint64_t zeroBytes(std::uint64_t word) {
  constexpr std::uint64_t kLow7 = 0x7F * kOnes;
  return ~(((word & kLow7) + kLow7) | word) & kHighBits;
}

// The high bit of each byte equal to c.
inline std::uint64_t bytesEqual(std::uint64_t word, char c) {
  return zeroBytes(word ^ (static_cast<unsigned char>(c) * kOnes));
}

// Whether all eight bytes are ASCII digits: the high half 3, and adding 6 carries nothing into it.
inline bool allDigits(std::uint64_t word) {
  constexpr std::uint64_t kHighHalves = 0xF0 * kOnes;
  return ((word & kHighHalves) | (((word + 6 * kOnes) & kHighHalves) >> 4)) == 0x33 * kOnes;
}

// The value of eight ASCII digits, the first in the lowest byte: each step joins neighbours by multiplying.
inline std::uint64_t digitsValue(std::uint64_t word) {
  std::uint64_t v = word - '0' * kOnes;
  v = v * 10 + (v >> 8);
  return (((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
          (((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
         32;
}

// The eight decimal digits of value < 10^8, each 0 to 9 in one byte, the first digit in the lowest byte.
inline std::uint64_t eightDigits(std::uint64_t value) {
  // Two halves of four digits, then two pairs in each, then the digits: every step divides by multiplying.
  const std::uint64_t halves = value / 10000 | (value % 10000) << 32;
  const std::uint64_t hundreds = ((halves * 10486) >> 20) & (0x7Full << 32 | 0x7Full);
  const std::uint64_t pairs = (halves - 100 * hundreds) << 16 | hundreds;
  std::uint64_t tens = ((pairs * 103) >> 10) & (0xFull << 48 | 0xFull << 32 | 0xFull << 16 | 0xFull);
  tens |= (pairs - 10 * tens) << 8;
  return tens;
}

// One to eight characters that are digits with at most one decimal mark among them ("357.14", "5.", ".5"),
// without a branch on the characters: the mark is taken out and zeros go in front up to eight digits.
// `comma` lets "," be the mark as well as ".". False for anything else, a lone mark included.
[[gnu::always_inline]] inline bool decimal(const char* p, std::size_t size, bool comma, std::uint64_t& mantissa,
                                           std::size_t& fractionDigits) {
  const std::uint64_t word = load(p, size);
  const std::uint64_t inText = firstBytes(size);
  const std::uint64_t points = bytesEqual(word, '.') & inText;
  const std::uint64_t commas = comma ? bytesEqual(word, ',') & inText : 0;
  const std::uint64_t marks = points | commas;
  if ((marks & (marks - 1)) != 0) return false;
  std::size_t digits = size;
  fractionDigits = 0;
  std::uint64_t packed = word;
  if (marks != 0) {
    const auto mark = static_cast<std::size_t>(std::countr_zero(marks)) / 8;
    const std::uint64_t before = firstBytes(mark);
    packed = (word & before) | ((word >> 8) & ~before);
    --digits;
    fractionDigits = digits - mark;
  }
  if (digits == 0) return false;
  // The first digit is the lowest byte: zeros in front are shifted in from below.
  const std::size_t zeros = 8 - digits;
  packed = zeros == 0 ? packed : (packed << (8 * zeros)) | (('0' * kOnes) >> (8 * digits));
  if (!allDigits(packed)) return false;
  mantissa = digitsValue(packed);
  return true;
}

}  // namespace short_text

}  // namespace nodra
