#include "fill/input_problems.h"

#include <string>

#include "platform/integer_text.h"

namespace nodra {

namespace {
void tell(Ui& ui, std::string text) { ui.message(failureMessage(std::move(text))); }
}  // namespace

void reportLongLine(Ui& ui, unsigned line, std::size_t limit) {
  tell(ui, "Riadok " + intToText(line) + " vstupného súboru je dlhší ako " + intToText(static_cast<long long>(limit)) +
               " znakov: jeho koniec sa nečítal.");
}

void reportListEnd(Ui& ui, unsigned line, unsigned unread) {
  tell(ui, "Zoznam CASIO 1 sa skončil na riadku " + intToText(line) + ", ktorý je kratší ako 50 znakov.\r\nZvyšných " +
               intToText(unread) + " riadkov s údajmi sa nečítalo.");
}

void reportCutRecord(Ui& ui, unsigned line) {
  tell(ui, "Vstupný súbor sa skončil uprostred položky na riadku " + intToText(line) + ": táto položka sa nenačítala.");
}

}  // namespace nodra
