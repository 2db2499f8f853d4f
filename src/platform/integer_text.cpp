#include "platform/integer_text.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace nodra {

std::optional<int> parseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  std::uint64_t magnitude = 0;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  auto [end, ec] = std::from_chars(first, last, magnitude, base);
  if (ec != std::errc{} || end != last) return std::nullopt;
  if (base == 16) {
    // Hexadecimal texts cover the unsigned 32-bit range and wrap, as the framework's did.
    if (magnitude > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    return negative ? static_cast<int>(-static_cast<std::int64_t>(value)) : value;
  }
  const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
  if (magnitude > limit) return std::nullopt;
  return static_cast<int>(negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude));
}

ConvertError::ConvertError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' is not a valid integer value") {}

int strToInt(std::string_view text) {
  auto value = parseInteger(text);
  if (!value) throw ConvertError(text);
  return *value;
}

std::string intToText(long long value) {
  char buffer[24];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;
  return std::string(buffer, end);
}

}  // namespace nodra
