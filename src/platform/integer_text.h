#pragma once
// Whole numbers in the program's texts, read the way the original framework read them, never through the locale.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace nodra {

// Optional leading blanks, optional sign, decimal digits or hexadecimal after "$" or "0x"; nothing after;
// within the signed 32-bit range.
std::optional<int> parseInteger(std::string_view text);

// "'%s' is not a valid integer value", the framework's conversion error for a text in an edit box.
class ConvertError : public std::runtime_error {
 public:
  explicit ConvertError(std::string_view text);
};

// Throws ConvertError when the text is not a whole number.
int strToInt(std::string_view text);

std::string intToText(long long value);

}  // namespace nodra
