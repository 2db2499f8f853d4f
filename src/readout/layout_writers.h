#pragma once
// The four layouts of the formatted read-out. Each writes one line (or nothing) for one item, reading the
// layout settings as they are at that moment: appended to a string, or into a character buffer, returning the
// end of what it wrote. A buffer needs layoutLinesRoom(code size, name size) bytes from where the line starts.
#include <cstddef>
#include <string>

#include "readout/output_item.h"
#include "settings/local_settings.h"

namespace nodra {

// Enough for one line of the item in every layout at once, whatever the layout settings.
constexpr std::size_t layoutLinesRoom(std::size_t codeSize, std::size_t nameSize) {
  return 2048 + 6 * (codeSize + nameSize);
}

// "Oddeľovač": the four chosen fields joined by the separator byte Odd_Char_OSK.
// `documentColumn` asks for the document number column, written only when WriteCisloDokladu is set as well.
void WriteDelimitedLine(std::string& out, const OutputItem& item, const LocalSettings& layout,
                        bool documentColumn = false);
char* WriteDelimitedLine(char* out, const OutputItem& item, const LocalSettings& layout, bool documentColumn = false);

// "Pevná dĺžka": the four chosen fields, each in the width of its output position.
void WriteFixedLine(std::string& out, const OutputItem& item, const LocalSettings& layout, bool documentColumn = false);
char* WriteFixedLine(char* out, const OutputItem& item, const LocalSettings& layout, bool documentColumn = false);

// "CASIO 1": "%-14s%11.3f%10.2f   \r\n" of code, quantity, price; nothing for a quantity of 0.
void WriteCasioLine(std::string& out, const OutputItem& item);
char* WriteCasioLine(char* out, const OutputItem& item);

// "Starý formát": "%16s%08ld%8ld%s\r\n" of code, quantity and price as scaled integers, the name's first 16 characters.
void WriteOldLine(std::string& out, const OutputItem& item, const LocalSettings& layout);
char* WriteOldLine(char* out, const OutputItem& item, const LocalSettings& layout);

}  // namespace nodra
