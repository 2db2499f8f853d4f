#pragma once
// The program keeps text as Windows-1250 bytes; these convert at the window, console and file-system boundary.
#include <optional>
#include <string>
#include <string_view>

namespace nodra::cp1250 {

// Every byte has a Unicode form, so this never fails.
std::string toUtf8(std::string_view text);

// Empty when the text is not valid UTF-8 or holds a character Windows-1250 cannot store.
std::optional<std::string> fromUtf8(std::string_view utf8);

char32_t toUnicode(unsigned char byte);

// The Windows-1250 byte of a character; nothing when the code page has none.
std::optional<char> fromUnicode(char32_t c);

}  // namespace nodra::cp1250
