#pragma once
// Numbers in the terminal's store files.
#include <string_view>

namespace nodra {

// Numbers in the terminal's files, read as the neutral locale reads them: leading blanks, optional sign,
// digits with "." as the decimal point, optional exponent; reading stops at the first character that does
// not fit; no number gives 0 ("12,50" reads as 12).
double readStoreDouble(std::string_view text);
// The same, held as a 32-bit float. False (and 0) when the value lies beyond the float range.
bool readStoreFloat(std::string_view text, float& value);

}  // namespace nodra
