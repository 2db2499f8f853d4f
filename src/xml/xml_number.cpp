#include "xml/xml_number.h"

#include <langinfo.h>
#include <locale.h>

#include <charconv>
#include <cmath>

#include "readout/store_line_reader.h"

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
  if (value == 0.0f) {
    out.push_back('0');
    return;
  }
  if (std::isnan(value)) {
    out.append("NAN");
    return;
  }
  if (std::isinf(value)) {
    out.append(value < 0 ? "-INF" : "INF");
    return;
  }
  // The shortest round-trip digits come as [-]d[.ddd]e(+|-)xx.
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
  const char* p = text;
  const char* end = result.ptr;
  if (*p == '-') {
    out.push_back('-');
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

  if (exponent >= -5 && exponent <= 14) {
    if (exponent < 0) {
      out.push_back('0');
      out.push_back(separator);
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out.append(digits, count);
      return;
    }
    auto whole = static_cast<std::size_t>(exponent) + 1;
    if (count <= whole) {
      out.append(digits, count);
      out.append(whole - count, '0');
      return;
    }
    out.append(digits, whole);
    out.push_back(separator);
    out.append(digits + whole, count - whole);
    return;
  }
  out.push_back(digits[0]);
  if (count > 1) {
    out.push_back(separator);
    out.append(digits + 1, count - 1);
  }
  out.push_back('E');
  char exponentText[8];
  auto written = std::to_chars(exponentText, exponentText + sizeof exponentText, exponent);
  out.append(exponentText, written.ptr);
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The terminal's usual numbers ("12.30", "-3.000") take a short cut. A decimal of at most 6 significant
// digits comes back unchanged from the nearest float (FLT_DIG), so its shortest form is the text itself with
// the zeros trimmed. At most 3 decimals keep it far enough from the halfway points between floats that the
// way through double rounds the same. Anything else (blanks, exponents, trailing text) takes the full way.
bool appendPlainDecimal(std::string& out, std::string_view text, char separator) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::size_t intStart = i;
  while (i < n && isDigit(text[i])) ++i;
  const std::size_t intEnd = i;
  std::size_t fracStart = i;
  std::size_t fracEnd = i;
  if (i < n && text[i] == '.') {
    fracStart = ++i;
    while (i < n && isDigit(text[i])) ++i;
    fracEnd = i;
  }
  if (i != n || (intEnd == intStart && fracEnd == fracStart)) return false;
  while (intStart < intEnd && text[intStart] == '0') ++intStart;
  while (fracEnd > fracStart && text[fracEnd - 1] == '0') --fracEnd;
  const std::size_t intLength = intEnd - intStart;
  const std::size_t fracLength = fracEnd - fracStart;
  if (fracLength > 3 || intLength > 15) return false;
  if (intLength == 0 && fracLength == 0) {
    out.push_back('0');
    return true;
  }
  std::size_t significant = intLength + fracLength;
  if (intLength == 0) {
    for (std::size_t k = fracStart; text[k] == '0'; ++k) --significant;
  } else if (fracLength == 0) {
    for (std::size_t k = intEnd; text[k - 1] == '0'; --k) --significant;
  }
  if (significant > 6) return false;
  if (negative) out.push_back('-');
  if (intLength > 0) {
    out.append(text.data() + intStart, intLength);
  } else {
    out.push_back('0');
  }
  if (fracLength > 0) {
    out.push_back(separator);
    out.append(text.data() + fracStart, fracLength);
  }
  return true;
}

}  // namespace

bool appendXmlNumberField(std::string& out, std::string_view field, char separator, float* value) {
  if (value == nullptr && appendPlainDecimal(out, field, separator)) return true;
  float number = 0.0f;
  if (!readStoreFloat(field, number)) return false;
  appendXmlNumber(out, number, separator);
  if (value != nullptr) *value = number;
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
