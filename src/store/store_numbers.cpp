#include "store/store_numbers.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/short_text.h"

namespace nodra {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

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
