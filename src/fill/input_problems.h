#pragma once
// What the fill tells the user about its input beyond bad numbers: goods it could not read whole, and a list
// it cannot send at all. Each counts as a failure of the run. Line numbers are the file's own, counted from 1.
#include <cstddef>
#include <string>

#include "platform/file_error.h"
#include "platform/ui.h"
#include "platform/utf8_text.h"

namespace nodra {

// A line longer than the layout reads: its first `limit` characters were taken, the rest was not.
void reportLongLine(Ui& ui, unsigned line, std::size_t limit);
// A CASIO 1 list ends at a short line; `unread` lines with goods followed it.
void reportListEnd(Ui& ui, unsigned line, unsigned unread);
// The old layout's file ended inside a record, which is lost.
void reportCutRecord(Ui& ui, unsigned line);
// Characters of a UTF-8 list that Windows-1250 lacks went to the terminal as "?"; one message for the fill.
void reportReplacedCharacters(Ui& ui, const Utf8ToCp1250& conversion);

// No layout is chosen; without one the terminal would get an empty list and lose its main store.
void reportNoLayout(Ui& ui);
// The input file `path` does not open or reads only in part.
void reportInputNotRead(Ui& ui, const std::string& path, const FileError& error);
// An empty list would wipe the terminal's main store.
void reportNoGoods(Ui& ui, const std::string& path);

}  // namespace nodra
