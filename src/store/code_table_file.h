#pragma once
// "codepage.tbl" in the program's folder: byte k of the file is what a name byte of value k becomes on the
// terminal. The fill translates names through it; a read-out that keeps accents translates them back.
#include <array>
#include <string>

#include "platform/file_error.h"
#include "platform/ui.h"

namespace nodra {

using CodeTable = std::array<unsigned char, 256>;

CodeTable identityCodeTable();

// Up to 256 bytes of the file into `table` (entry 9 becomes a space first); false, and why, when the file
// cannot be read whole. `table` should hold the identity before.
bool readCodeTableFile(const std::string& fileText, CodeTable& table, FileError& error);

// The table of the program's folder when `use_tbl` is set, else the identity. A table that cannot be read is
// reported ("Súbor codepage.tbl sa nedá otvoriť ") and the identity used.
CodeTable loadCodeTable(bool use_tbl, const std::string& exeFolder, Ui& ui);

// The way back: each terminal byte that exactly one entry produces becomes that entry's PC byte; every other
// byte, and any that would come back as a control character, stays as it is.
CodeTable reversedCodeTable(const CodeTable& table);

}  // namespace nodra
