#include "readout/layout_writers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace nodra {

namespace {

enum Field { kCode = 0, kPrice = 1, kQuantity = 2, kName = 3 };

// The controls do not check the widths; this keeps a wild value in the settings file from making lines of gigabytes.
constexpr int kWidthMax = 255;

// Room for any float in fixed notation with 3 decimals (3.4E38 has 39 digits).
using NumberBuffer = char[64];

// printf's "%.Nf" for N of 0 to 3. The float times 10^N is exact in a double, so rounding it half to even gives
// the digits the exact binary value rounds to, as printf does; very large values take the general route.
std::string_view fixedText(NumberBuffer& buffer, float value, int decimals) {
  if (decimals < 0 || decimals > 3) return {};
  static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0};
  const double scaled = std::fabs(static_cast<double>(value)) * kScale[decimals];
  if (scaled < 9007199254740992.0) {  // 2^53; a NaN fails this too
    auto n = static_cast<std::uint64_t>(scaled);
    const double rest = scaled - static_cast<double>(n);
    if (rest > 0.5 || (rest == 0.5 && (n & 1) != 0)) ++n;
    // Digits from the right, the point after `decimals` of them, at least one digit before it.
    char digits[32];
    char* first = digits + sizeof digits;
    for (int i = 0; i < decimals; ++i, n /= 10) *--first = static_cast<char>('0' + n % 10);
    if (decimals > 0) *--first = '.';
    do {
      *--first = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n != 0);
    char* out = buffer;
    if (std::signbit(value)) *out++ = '-';
    out = std::copy(first, digits + sizeof digits, out);
    return {buffer, static_cast<std::size_t>(out - buffer)};
  }
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed,
                                 decimals);
  if (ec != std::errc()) return {};
  return {buffer, static_cast<std::size_t>(end - buffer)};
}

void pad(std::string& out, std::size_t length, std::size_t width, char fill = ' ') {
  if (length < width) out.append(width - length, fill);
}

void appendRightAligned(std::string& out, std::string_view text, int width) {
  pad(out, text.size(), static_cast<std::size_t>(width));
  out.append(text);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

template <typename Drop>
void appendWithout(std::string& out, std::string_view text, Drop drop) {
  // Codes seldom hold a blank: then the code goes out in one piece.
  if (std::none_of(text.begin(), text.end(), drop)) {
    out.append(text);
    return;
  }
  for (char c : text) {
    if (!drop(c)) out.push_back(c);
  }
}

std::string_view unsignedText(NumberBuffer& buffer, std::uint64_t value) {
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;
  return {buffer, static_cast<std::size_t>(end - buffer)};
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
  const auto moved = static_cast<float>(scaled >= 0.0f ? static_cast<double>(scaled) + 0.05
                                                       : static_cast<double>(scaled) - 0.05);
  // What an x86 conversion gives outside the 32-bit range (and for a NaN), rather than undefined behaviour.
  if (!(moved > -2147483904.0f && moved < 2147483648.0f)) return INT32_MIN;
  return static_cast<std::int32_t>(moved);
}

}  // namespace

void WriteDelimitedLine(std::string& out, const OutputItem& item, const LocalSettings& layout, bool documentColumn) {
  const char separator = static_cast<char>(layout.Odd_Char_OSK);
  NumberBuffer number;
  for (int position = 0; position < 4; ++position) {
    if (position > 0) out.push_back(separator);
    switch (fieldAt(layout, position)) {
      case kCode:
        appendWithout(out, item.code, isBlank);
        break;
      case kPrice:
        out.append(fixedText(number, item.price, layout.PDM2_OSK));
        break;
      case kQuantity:
        out.append(fixedText(number, item.quantity, layout.PDM1_OSK));
        break;
      case kName:
        out.append(item.name);
        break;
      default:
        break;
    }
  }
  if (documentColumn && layout.WriteCisloDokladu) {
    out.push_back(separator);
    out.append(unsignedText(number, item.documentNumber));
  }
  out.append("\r\n");
}

void WriteFixedLine(std::string& out, const OutputItem& item, const LocalSettings& layout, bool documentColumn) {
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
        appendRightAligned(out, code, width[kCode]);
        break;
      }
      case kPrice:
        appendRightAligned(out, fixedText(number, item.price, layout.PDM2_OSK), width[kPrice]);
        break;
      case kQuantity:
        appendRightAligned(out, fixedText(number, item.quantity, layout.PDM1_OSK), width[kQuantity]);
        break;
      case kName:
        out.append(std::string_view(item.name).substr(0, static_cast<std::size_t>(width[kName])));
        break;
      default:
        break;
    }
  }
  if (documentColumn && layout.WriteCisloDokladu) appendRightAligned(out, unsignedText(number, item.documentNumber), 5);
  out.append("\r\n");
}

void WriteCasioLine(std::string& out, const OutputItem& item) {
  if (item.quantity == 0.0f) return;
  const std::size_t start = out.size();
  appendWithout(out, item.code, [](char c) { return c == ' '; });
  pad(out, out.size() - start, 14);
  NumberBuffer number;
  appendRightAligned(out, fixedText(number, item.quantity, 3), 11);
  appendRightAligned(out, fixedText(number, item.price, 2), 10);
  out.append("   \r\n");
}

void WriteOldLine(std::string& out, const OutputItem& item, const LocalSettings& layout) {
  const std::int32_t quantity = oldLayoutInteger(item.quantity, layout.PDM1_OSK);
  const std::int32_t price = oldLayoutInteger(item.price, layout.PDM2_OSK);
  appendRightAligned(out, item.code, 16);

  // "%08ld": zeros after the sign up to 8 characters in all.
  NumberBuffer number;
  const auto magnitude = static_cast<std::uint64_t>(quantity < 0 ? -static_cast<std::int64_t>(quantity) : quantity);
  std::string_view digits = unsignedText(number, magnitude);
  if (quantity < 0) out.push_back('-');
  pad(out, digits.size() + (quantity < 0 ? 1 : 0), 8, '0');
  out.append(digits);

  auto [end, ec] = std::to_chars(number, number + sizeof number, price);
  (void)ec;
  appendRightAligned(out, std::string_view(number, static_cast<std::size_t>(end - number)), 8);
  out.append(std::string_view(item.name).substr(0, 16));
  out.append("\r\n");
}

}  // namespace nodra
