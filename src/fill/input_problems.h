#pragma once
// What the fill tells the user about its input beyond bad numbers: goods it could not read whole. Each counts
// as a failure of the run. Line numbers are the file's own, counted from 1.
#include <cstddef>

#include "platform/ui.h"

namespace nodra {

// A line longer than the layout reads: its first `limit` characters were taken, the rest was not.
void reportLongLine(Ui& ui, unsigned line, std::size_t limit);
// A CASIO 1 list ends at a short line; `unread` lines with goods followed it.
void reportListEnd(Ui& ui, unsigned line, unsigned unread);
// The old layout's file ended inside a record, which is lost.
void reportCutRecord(Ui& ui, unsigned line);

}  // namespace nodra
