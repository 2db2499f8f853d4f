#include "readout/layout_writers.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/short_text.h"

namespace nodra {

namespace {

enum Field { kCode = 0, kPrice = 1, kQuantity = 2, kName = 3 };

// The controls do not check the widths; this keeps a wild value in the settings file from making lines of gigabytes.
constexpr int kWidthMax = 255;

// Room for any float in fixed notation with 3 decimals (3.4E38 has 39 digits); texts end at the buffer's end.
using NumberBuffer = char[64];

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The decimal digits of `value` ending just before `end`; returns where they start.
char* digitsBefore(char* end, std::uint64_t value) {
  while (value >= 100) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * (value % 100), 2);
    value /= 100;
  }
  if (value >= 10) {
    end -= 2;
    std::memcpy(end, kDigitPairs + 2 * value, 2);
  } else {
    *--end = static_cast<char>('0' + value);
  }
  return end;
}

std::string_view textBefore(NumberBuffer& buffer, const char* start) {
  return {start, static_cast<std::size_t>(buffer + sizeof buffer - start)};
}

using short_text::eightDigits;
using short_text::kOnes;

// Numbers are printf's "%.Nf" for N of 0 to 3. The float times 10^N is exact in a double, so rounding it half to
// even gives the digits the exact binary value rounds to, as printf does.
//
// A number whose whole part lies below 10^8 is held as words that are written whole (what lies past the number
// is written over next), small enough to travel in registers.
struct ShortFixed {
  std::uint64_t whole;       // ASCII digits, the first in the lowest byte
  std::uint32_t fraction;    // the point and the decimals, likewise
  std::uint8_t wholeDigits;  // 0: the number has no short form
  std::uint8_t fractionSize;
  bool negative;
  std::size_t size() const { return (negative ? 1u : 0u) + wholeDigits + fractionSize; }
};

double scaledMagnitude(float value, int decimals) {
  static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0};
  return std::fabs(static_cast<double>(value)) * kScale[decimals];
}

// Below 2^52, adding and taking away 2^52 rounds to the nearest whole number, ties to the even one; from there
// on every double is whole.
std::uint64_t roundedUnits(double scaled) {
  return static_cast<std::uint64_t>(scaled < 0x1p52 ? (scaled + 0x1p52) - 0x1p52 : scaled);
}

[[gnu::always_inline]] inline ShortFixed shortFixed(float value, int decimals) {
  ShortFixed f{0, 0, 0, 0, false};
  if (std::endian::native != std::endian::little || decimals < 0 || decimals > 3) return f;
  const double scaled = scaledMagnitude(value, decimals);
  if (!(scaled < 1e11)) return f;  // a NaN too
  const std::uint64_t units = roundedUnits(scaled);
  std::uint64_t whole = units;
  unsigned fraction = 0;
  std::uint16_t pair = 0;
  switch (decimals) {  // constant divisors: multiplications
    case 1:
      whole = units / 10, fraction = static_cast<unsigned>(units % 10);
      f.fraction = '.' | ('0' + fraction) << 8;
      break;
    case 2:
      whole = units / 100, fraction = static_cast<unsigned>(units % 100);
      std::memcpy(&pair, kDigitPairs + 2 * fraction, 2);
      f.fraction = '.' | std::uint32_t{pair} << 8;
      break;
    case 3:
      whole = units / 1000, fraction = static_cast<unsigned>(units % 1000);
      std::memcpy(&pair, kDigitPairs + 2 * (fraction % 100), 2);
      f.fraction = '.' | ('0' + fraction / 100) << 8 | std::uint32_t{pair} << 16;
      break;
    default: break;
  }
  if (whole >= 100000000) return f;
  const std::uint64_t digits = eightDigits(whole);
  const int zeros = digits == 0 ? 7 : std::min(std::countr_zero(digits) / 8, 7);
  f.whole = (digits + '0' * kOnes) >> (8 * zeros);
  f.wholeDigits = static_cast<std::uint8_t>(8 - zeros);
  f.fractionSize = static_cast<std::uint8_t>(decimals == 0 ? 0 : decimals + 1);
  f.negative = std::signbit(value);
  return f;
}

// Writes up to 13 bytes, however short the number is.
[[gnu::always_inline]] inline char* putShort(char* out, const ShortFixed& f) {
  *out = '-';
  out += f.negative ? 1 : 0;
  std::memcpy(out, &f.whole, 8);
  out += f.wholeDigits;
  std::memcpy(out, &f.fraction, 4);
  return out + f.fractionSize;
}

// Any number, as text at the end of the buffer; empty for decimals outside 0 to 3.
[[gnu::noinline]] std::string_view fixedText(NumberBuffer& buffer, float value, int decimals) {
  if (decimals < 0 || decimals > 3) return {};
  const double scaled = scaledMagnitude(value, decimals);
  if (!(scaled < 0x1p53)) {  // a NaN too
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, decimals);
    if (ec != std::errc()) return {};
    return {buffer, static_cast<std::size_t>(end - buffer)};
  }
  std::uint64_t units = roundedUnits(scaled);
  char* p = buffer + sizeof buffer;
  if (decimals > 0) {
    for (int i = 0; i < decimals; ++i, units /= 10) *--p = static_cast<char>('0' + units % 10);
    *--p = '.';
  }
  p = digitsBefore(p, units);
  if (std::signbit(value)) *--p = '-';
  return textBefore(buffer, p);
}

std::string_view unsignedText(NumberBuffer& buffer, std::uint64_t value) {
  return textBefore(buffer, digitsBefore(buffer + sizeof buffer, value));
}

[[gnu::always_inline]] inline char* put(char* out, std::string_view text) { return copyShort(out, text); }

constexpr char kSpaces[] = "                ";
constexpr char kZeros[] = "0000000000000000";

[[gnu::always_inline]] inline char* pad(char* out, std::size_t length, std::size_t width, char fill = ' ') {
  if (length >= width) return out;
  const std::size_t n = width - length;
  if (n <= 16) {
    std::memcpy(out, fill == ' ' ? kSpaces : kZeros, 16);
  } else {
    std::memset(out, fill, n);
  }
  return out + n;
}

[[gnu::always_inline]] inline char* putRightAligned(char* out, std::string_view text, int width) {
  return put(pad(out, text.size(), static_cast<std::size_t>(width)), text);
}

char* putNumber(char* out, float value, int decimals) {
  const ShortFixed f = shortFixed(value, decimals);
  if (f.wholeDigits != 0) return putShort(out, f);
  NumberBuffer buffer;
  return put(out, fixedText(buffer, value, decimals));
}

char* putNumberRightAligned(char* out, float value, int decimals, int width) {
  const ShortFixed f = shortFixed(value, decimals);
  if (f.wholeDigits != 0) return putShort(pad(out, f.size(), static_cast<std::size_t>(width)), f);
  NumberBuffer buffer;
  return putRightAligned(out, fixedText(buffer, value, decimals), width);
}

char* putLineEnd(char* out) {
  std::memcpy(out, "\r\n", 2);
  return out + 2;
}

// Whether the text holds a byte from 0 to 32, eight at a time: the blanks are among them.
bool mayHoldBlanks(std::string_view text) {
  if constexpr (std::endian::native != std::endian::little) return true;
  const auto below33 = [](std::uint64_t word) { return ((word - 33 * kOnes) & ~word & (0x80 * kOnes)) != 0; };
  const char* p = text.data();
  const std::size_t n = text.size();
  if (n < 8) {
    for (char c : text) {
      if (static_cast<unsigned char>(c) <= 32) return true;
    }
    return false;
  }
  std::uint64_t word;
  for (std::size_t i = 0; i + 8 <= n; i += 8) {
    std::memcpy(&word, p + i, 8);
    if (below33(word)) return true;
  }
  // The last eight, which may overlap the words before.
  std::memcpy(&word, p + n - 8, 8);
  return below33(word);
}

constexpr bool kBlank[256] = {false, false, false, false, false, false, false, false, false, true,  true,
                              true,  true,  true,  false, false, false, false, false, false, false, false,
                              false, false, false, false, false, false, false, false, false, false, true};

// Every byte is stored; the pointer moves past the kept ones only.
char* putWithoutBlanks(char* out, std::string_view text) {
  if (!mayHoldBlanks(text)) return put(out, text);
  for (char c : text) {
    *out = c;
    out += !kBlank[static_cast<unsigned char>(c)];
  }
  return out;
}

char* putWithoutSpaces(char* out, std::string_view text) {
  if (!mayHoldBlanks(text)) return put(out, text);
  for (char c : text) {
    *out = c;
    out += c != ' ';
  }
  return out;
}

int fieldAt(const LocalSettings& s, int position) {
  const int order[4] = {s.Odd1_OSK, s.Odd2_OSK, s.Odd3_OSK, s.Odd4_OSK};
  return order[position];
}

// Old layout: scaled by the decimals, moved 0.05 away from zero, held as a float, cut toward zero.
std::int32_t oldLayoutInteger(float value, int decimals) {
  float scaled = value;
  if (decimals == 1) scaled = value * 10.0f;
  if (decimals == 2) scaled = value * 100.0f;
  if (decimals == 3) scaled = value * 1000.0f;
  const auto moved =
      static_cast<float>(scaled >= 0.0f ? static_cast<double>(scaled) + 0.05 : static_cast<double>(scaled) - 0.05);
  // What an x86 conversion gives outside the 32-bit range (and for a NaN), rather than undefined behaviour.
  if (!(moved > -2147483904.0f && moved < 2147483648.0f)) return INT32_MIN;
  return static_cast<std::int32_t>(moved);
}

// The string forms write into room at the string's end, then cut it to what was written.
template <typename Write>
void appendLine(std::string& out, const OutputItem& item, Write write) {
  const std::size_t start = out.size();
  out.resize(start + layoutLinesRoom(item.code.size(), item.name.size()));
  char* const end = write(out.data() + start);
  out.resize(static_cast<std::size_t>(end - out.data()));
}

}  // namespace

char* WriteDelimitedLine(char* out, const OutputItem& item, const LocalSettings& layout, bool documentColumn) {
  const char separator = static_cast<char>(layout.Odd_Char_OSK);
  NumberBuffer number;
  for (int position = 0; position < 4; ++position) {
    if (position > 0) *out++ = separator;
    switch (fieldAt(layout, position)) {
      case kCode: out = putWithoutBlanks(out, item.code); break;
      case kPrice: out = putNumber(out, item.price, layout.PDM2_OSK); break;
      case kQuantity: out = putNumber(out, item.quantity, layout.PDM1_OSK); break;
      case kName: out = put(out, item.name); break;
      default: break;
    }
  }
  if (documentColumn && layout.WriteCisloDokladu) {
    *out++ = separator;
    out = put(out, unsignedText(number, item.documentNumber));
  }
  return putLineEnd(out);
}

char* WriteFixedLine(char* out, const OutputItem& item, const LocalSettings& layout, bool documentColumn) {
  // Each field takes the width of the position it is chosen at; chosen twice, the later position's width.
  const int widths[4] = {layout.dlzka1_OSK, layout.dlzka2_OSK, layout.dlzka3_OSK, layout.dlzka4_OSK};
  int width[4] = {0, 0, 0, 0};
  for (int position = 0; position < 4; ++position) {
    int field = fieldAt(layout, position);
    if (field >= kCode && field <= kName) width[field] = std::clamp(widths[position], 0, kWidthMax);
  }
  NumberBuffer number;
  for (int position = 0; position < 4; ++position) {
    switch (fieldAt(layout, position)) {
      case kCode: {
        // A code as long as its width or longer keeps its last characters.
        std::string_view code = item.code;
        auto w = static_cast<std::size_t>(width[kCode]);
        if (code.size() >= w) code.remove_prefix(code.size() - w);
        out = putRightAligned(out, code, width[kCode]);
        break;
      }
      case kPrice: out = putNumberRightAligned(out, item.price, layout.PDM2_OSK, width[kPrice]); break;
      case kQuantity: out = putNumberRightAligned(out, item.quantity, layout.PDM1_OSK, width[kQuantity]); break;
      case kName: out = put(out, item.name.substr(0, static_cast<std::size_t>(width[kName]))); break;
      default: break;
    }
  }
  if (documentColumn && layout.WriteCisloDokladu) {
    out = putRightAligned(out, unsignedText(number, item.documentNumber), 5);
  }
  return putLineEnd(out);
}

char* WriteCasioLine(char* out, const OutputItem& item) {
  if (item.quantity == 0.0f) return out;
  char* const start = out;
  out = putWithoutSpaces(out, item.code);
  out = pad(out, static_cast<std::size_t>(out - start), 14);
  out = putNumberRightAligned(out, item.quantity, 3, 11);
  out = putNumberRightAligned(out, item.price, 2, 10);
  std::memcpy(out, "   \r\n", 5);
  return out + 5;
}

char* WriteOldLine(char* out, const OutputItem& item, const LocalSettings& layout) {
  const std::int32_t quantity = oldLayoutInteger(item.quantity, layout.PDM1_OSK);
  const std::int32_t price = oldLayoutInteger(item.price, layout.PDM2_OSK);
  out = putRightAligned(out, item.code, 16);

  // "%08ld": zeros after the sign up to 8 characters in all.
  NumberBuffer number;
  const auto magnitude = static_cast<std::uint64_t>(quantity < 0 ? -static_cast<std::int64_t>(quantity) : quantity);
  std::string_view digits = unsignedText(number, magnitude);
  if (quantity < 0) *out++ = '-';
  out = pad(out, digits.size() + (quantity < 0 ? 1 : 0), 8, '0');
  out = put(out, digits);

  const auto priceMagnitude = static_cast<std::uint64_t>(price < 0 ? -static_cast<std::int64_t>(price) : price);
  char* priceText = digitsBefore(number + sizeof number, priceMagnitude);
  if (price < 0) *--priceText = '-';
  out = putRightAligned(out, textBefore(number, priceText), 8);
  out = put(out, item.name.substr(0, 16));
  return putLineEnd(out);
}

void WriteDelimitedLine(std::string& out, const OutputItem& item, const LocalSettings& layout, bool documentColumn) {
  appendLine(out, item, [&](char* p) { return WriteDelimitedLine(p, item, layout, documentColumn); });
}

void WriteFixedLine(std::string& out, const OutputItem& item, const LocalSettings& layout, bool documentColumn) {
  appendLine(out, item, [&](char* p) { return WriteFixedLine(p, item, layout, documentColumn); });
}

void WriteCasioLine(std::string& out, const OutputItem& item) {
  appendLine(out, item, [&](char* p) { return WriteCasioLine(p, item); });
}

void WriteOldLine(std::string& out, const OutputItem& item, const LocalSettings& layout) {
  appendLine(out, item, [&](char* p) { return WriteOldLine(p, item, layout); });
}

}  // namespace nodra
