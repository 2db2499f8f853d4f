#pragma once
// "codepage.tbl": byte k of the file is what a name byte of value k becomes on the terminal.
#include <string>

#include "platform/ui.h"
#include "store/code_table_file.h"

namespace nodra {

// The identity table, or with `use_tbl` the table from exeFolder + "codepage.tbl": its first 256 bytes
// decide their entries, the others keep the identity except the tab (entry 9), which becomes a space. A
// missing file is reported (the fill goes on with the identity table).
CodeTable LoadCodeTable(bool use_tbl, const std::string& exeFolder, Ui& ui);

// Every byte through the table; an entry 0 ends the name there. Codes are never translated.
void TranslateName(const CodeTable& table, std::string& name);

}  // namespace nodra
