#pragma once
// Prices and counts from the PC input file: "." or "," as the decimal mark, whatever the locale.
#include <string>
#include <string_view>

#include "platform/ui.h"

namespace nodra {

// The value of a number text with "." or "," as its mark, held in 32 bits; false when it is not a number:
// spaces, an optional sign, digits, optionally "." and digits, optionally an exponent, spaces, nothing else,
// with at least one digit or the mark (a lone mark is 0). Tabs, line ends, inner spaces, a second mark and
// values beyond the 32-bit range are not numbers.
bool parseNumberText(std::string_view text, float& value);

// Turns every "," of `text` into "." and tests it. A text that is not a number is reported with the record
// number (unless hlaska_data_in silences it) and always counted as a failure of the run: its record is lost.
bool CheckNumberField(Ui& ui, int hlaska_data_in, unsigned recordNumber, std::string& text);
// The same, giving the value of a number.
bool CheckNumberField(Ui& ui, int hlaska_data_in, unsigned recordNumber, std::string& text, float& value);

// A blank line where a number was expected: the same warning (unless silenced), but the line carried no goods,
// so nothing is lost and the run does not fail.
void reportBlankLine(Ui& ui, int hlaska_data_in, unsigned recordNumber, std::string text);

}  // namespace nodra
