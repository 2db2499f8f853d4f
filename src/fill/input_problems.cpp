#include "fill/input_problems.h"

#include <string>

#include "platform/integer_text.h"

namespace nodra {

namespace {
void tell(Ui& ui, std::string text) {
  Message m;
  m.text = std::move(text);
  m.caption = "Pozor...";
  m.icon = Icon::Information;
  m.outcome = Outcome::Failure;
  ui.message(m);
}
}  // namespace

void ReportLongLine(Ui& ui, unsigned line, std::size_t limit) {
  tell(ui, "Riadok " + intToText(line) + " vstupného súboru je dlhší ako " + intToText(static_cast<long long>(limit)) +
               " znakov: jeho koniec sa nečítal.");
}

void ReportListEnd(Ui& ui, unsigned line, unsigned unread) {
  tell(ui, "Zoznam CASIO 1 sa skončil na riadku " + intToText(line) + ", ktorý je kratší ako 50 znakov.\r\nZvyšných " +
               intToText(unread) + " riadkov s údajmi sa nečítalo.");
}

void ReportCutRecord(Ui& ui, unsigned line) {
  tell(ui, "Vstupný súbor sa skončil uprostred položky na riadku " + intToText(line) + ": táto položka sa nenačítala.");
}

}  // namespace nodra
