#include "xml/xml_number.h"

#include <langinfo.h>
#include <locale.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/short_text.h"
#include "store/store_numbers.h"

namespace nodra {

char userDecimalSeparator() {
  locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (user == static_cast<locale_t>(nullptr)) return '.';
  char separator = '.';
  const char* radix = nl_langinfo_l(RADIXCHAR, user);
  // Multi-byte separators would not survive the files' plain-ASCII content.
  if (radix != nullptr && radix[0] > ' ' && radix[0] < 127 && radix[1] == '\0' &&
      !(radix[0] >= '0' && radix[0] <= '9') && radix[0] != '-') {
    separator = radix[0];
  }
  freelocale(user);
  return separator;
}

void appendXmlNumber(std::string& out, float value, char separator) {
  char text[kXmlNumberRoom];
  out.append(text, putXmlNumber(text, value, separator));
}

char* putXmlNumber(char* out, float value, char separator) {
  if (value == 0.0f) {
    *out++ = '0';
    return out;
  }
  if (std::isnan(value)) return copyShort(out, "NAN");
  if (std::isinf(value)) return copyShort(out, value < 0 ? "-INF" : "INF");
  // The shortest round-trip digits come as [-]d[.ddd]e(+|-)xx.
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
  const char* p = text;
  const char* end = result.ptr;
  if (*p == '-') {
    *out++ = '-';
    ++p;
  }
  char digits[16];
  std::size_t count = 0;
  for (; p < end && *p != 'e'; ++p) {
    if (*p != '.' && count < sizeof digits) digits[count++] = *p;
  }
  int exponent = 0;
  if (p < end) {
    ++p;
    if (*p == '+') ++p;
    std::from_chars(p, end, exponent);
  }
  while (count > 1 && digits[count - 1] == '0') --count;
  const auto append = [&out](const char* from, std::size_t n) {
    std::memcpy(out, from, n);
    out += n;
  };
  const auto fill = [&out](std::size_t n) {
    std::memset(out, '0', n);
    out += n;
  };

  if (exponent >= -5 && exponent <= 14) {
    if (exponent < 0) {
      *out++ = '0';
      *out++ = separator;
      fill(static_cast<std::size_t>(-exponent - 1));
      append(digits, count);
      return out;
    }
    auto whole = static_cast<std::size_t>(exponent) + 1;
    if (count <= whole) {
      append(digits, count);
      fill(whole - count);
      return out;
    }
    append(digits, whole);
    *out++ = separator;
    append(digits + whole, count - whole);
    return out;
  }
  *out++ = digits[0];
  if (count > 1) {
    *out++ = separator;
    append(digits + 1, count - 1);
  }
  *out++ = 'E';
  return std::to_chars(out, out + 8, exponent).ptr;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The terminal's usual numbers ("12.30", "-3.000") take a short cut. A decimal of at most 6 significant
// digits comes back unchanged from the nearest float (FLT_DIG), so its shortest form is the text itself with
// the zeros trimmed. At most 3 decimals keep it far enough from the halfway points between floats that the
// way through double rounds the same. Anything else (blanks, exponents, trailing text) takes the full way:
// nullptr.
//
// One to eight characters after the sign are looked at as one word.
char* putShortPlainDecimal(char* out, const char* p, std::size_t size, bool negative, char separator) {
  using namespace short_text;
  const std::uint64_t word = load(p, size);
  const std::uint64_t inText = firstBytes(size);
  const std::uint64_t points = bytesEqual(word, '.') & inText;
  if ((points & (points - 1)) != 0) return nullptr;
  // With the point read as "0" and "0" after the text, every byte must be a digit.
  if (!allDigits((word + (points >> 7) * ('0' - '.')) | ('0' * kOnes & ~inText))) return nullptr;
  const std::size_t point = points != 0 ? static_cast<std::size_t>(std::countr_zero(points)) / 8 : size;
  const std::uint64_t nonZero = ~bytesEqual(word, '0') & kHighBits;
  const std::uint64_t wholeNonZero = nonZero & firstBytes(point);
  const std::uint64_t fractionNonZero = nonZero & inText & ~firstBytes(point + 1);
  // Leading zeros of the whole part and trailing zeros of the decimals do not count.
  const std::size_t wholeStart =
      wholeNonZero != 0 ? static_cast<std::size_t>(std::countr_zero(wholeNonZero)) / 8 : point;
  const std::size_t fractionEnd =
      fractionNonZero != 0 ? static_cast<std::size_t>(63 - std::countl_zero(fractionNonZero)) / 8 + 1 : point + 1;
  const std::size_t wholeLength = point - wholeStart;
  const std::size_t fractionLength = fractionEnd - (point + 1);
  if (fractionLength > 3) return nullptr;
  if (wholeLength == 0 && fractionLength == 0) {
    if (points != 0 && size == 1) return nullptr;  // a lone point is no plain decimal
    *out++ = '0';
    return out;
  }
  std::size_t significant = wholeLength + fractionLength;
  if (wholeLength == 0) {
    significant -= static_cast<std::size_t>(std::countr_zero(fractionNonZero)) / 8 - (point + 1);
  } else if (fractionLength == 0) {
    significant -= point - 1 - static_cast<std::size_t>(63 - std::countl_zero(wholeNonZero)) / 8;
  }
  if (significant > 6) return nullptr;
  *out = '-';
  out += negative ? 1 : 0;
  if (wholeLength > 0) {
    const std::uint64_t whole = word >> (8 * wholeStart);
    std::memcpy(out, &whole, 8);
    out += wholeLength;
  } else {
    *out++ = '0';
  }
  if (fractionLength > 0) {
    *out++ = separator;
    const std::uint64_t fraction = word >> (8 * (point + 1));
    std::memcpy(out, &fraction, 8);
    out += fractionLength;
  }
  return out;
}

char* putPlainDecimal(char* out, std::string_view text, char separator) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  if constexpr (std::endian::native == std::endian::little) {
    const auto size = static_cast<std::size_t>(end - p);
    if (size >= 1 && size <= 8) return putShortPlainDecimal(out, p, size, negative, separator);
  }
  const char* intStart = p;
  while (p < end && isDigit(*p)) ++p;
  const char* const intEnd = p;
  const char* fracStart = p;
  const char* fracEnd = p;
  if (p < end && *p == '.') {
    fracStart = ++p;
    while (p < end && isDigit(*p)) ++p;
    fracEnd = p;
  }
  if (p != end || (intEnd == intStart && fracEnd == fracStart)) return nullptr;
  while (intStart < intEnd && *intStart == '0') ++intStart;
  while (fracEnd > fracStart && fracEnd[-1] == '0') --fracEnd;
  const auto intLength = static_cast<std::size_t>(intEnd - intStart);
  const auto fracLength = static_cast<std::size_t>(fracEnd - fracStart);
  if (fracLength > 3 || intLength > 15) return nullptr;
  if (intLength == 0 && fracLength == 0) {
    *out++ = '0';
    return out;
  }
  std::size_t significant = intLength + fracLength;
  if (intLength == 0) {
    for (const char* k = fracStart; *k == '0'; ++k) --significant;
  } else if (fracLength == 0) {
    for (const char* k = intEnd; k[-1] == '0'; --k) --significant;
  }
  if (significant > 6) return nullptr;
  *out = '-';
  out += negative ? 1 : 0;
  if (intLength > 0) {
    out = copyShort(out, std::string_view(intStart, intLength));
  } else {
    *out++ = '0';
  }
  if (fracLength > 0) {
    *out++ = separator;
    out = copyShort(out, std::string_view(fracStart, fracLength));
  }
  return out;
}

}  // namespace

char* putXmlNumberField(char* out, std::string_view field, char separator, float* value) {
  if (char* end = putPlainDecimal(out, field, separator)) {
    // A plain decimal lies far inside the float range.
    if (value != nullptr) readStoreFloat(field, *value);
    return end;
  }
  float number = 0.0f;
  if (!readStoreFloat(field, number)) return nullptr;
  if (value != nullptr) *value = number;
  return putXmlNumber(out, number, separator);
}

bool appendXmlNumberField(std::string& out, std::string_view field, char separator, float* value) {
  char text[kXmlNumberRoom];
  char* end = putXmlNumberField(text, field, separator, value);
  if (end == nullptr) return false;
  out.append(text, end);
  return true;
}

bool readTruncatedInt32(std::string_view text, std::int32_t& value) {
  double number = std::trunc(readStoreDouble(text));
  if (!(number >= -2147483648.0 && number <= 2147483647.0)) {
    value = 0;
    return false;
  }
  value = static_cast<std::int32_t>(number);
  return true;
}

}  // namespace nodra
