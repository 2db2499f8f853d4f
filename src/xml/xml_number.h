#pragma once
// Numbers as the XML files carry them, with the user's regional decimal separator: the one place the program
// asks the user's locale about numbers.
#include <cstdint>
#include <string>
#include <string_view>

namespace nodra {

// The decimal separator of the environment's locale (LC_ALL, LC_NUMERIC, LANG), "." when that locale is
// missing or its separator is not a single ASCII character. Ask once per run, not per number.
char userDecimalSeparator();

// The shortest decimal that reads back as the same 32-bit value, in the general format: fixed notation from
// 0.00001 up to 15 digits before the separator, otherwise scientific ("1E20", "1,5E-6"); no trailing zeros
// and no trailing separator; zero (either sign) is "0".
void appendXmlNumber(std::string& out, float value, char separator);

// Room a number takes in that form, and some: the writers into a character buffer need this much.
inline constexpr std::size_t kXmlNumberRoom = 48;
char* putXmlNumber(char* out, float value, char separator);

// A number field of the terminal's files, read as readStoreFloat reads it, appended in the form above.
// False, with nothing appended, when the value lies beyond the float range. `value` (when given) receives
// the 32-bit value.
bool appendXmlNumberField(std::string& out, std::string_view field, char separator, float* value = nullptr);
// The same into a buffer of kXmlNumberRoom bytes: the end of the text, or nullptr beyond the float range.
char* putXmlNumberField(char* out, std::string_view field, char separator, float* value = nullptr);

// PORADIE: the field read as a number, truncated toward zero. False when the result is no 32-bit integer.
bool readTruncatedInt32(std::string_view text, std::int32_t& value);

}  // namespace nodra
