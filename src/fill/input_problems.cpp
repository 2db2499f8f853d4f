#include "fill/input_problems.h"

#include <string>

#include "platform/integer_text.h"

namespace nodra {

namespace {
void tell(Ui& ui, std::string text, unsigned line, std::string what) {
  Message m = failureMessage(std::move(text));
  m.lineProblem = LineProblem{line, std::move(what), std::nullopt};
  ui.message(m);
}
}  // namespace

void reportLongLine(Ui& ui, unsigned line, std::size_t limit) {
  tell(ui,
       "Riadok " + intToText(line) + " vstupného súboru je dlhší ako " + intToText(static_cast<long long>(limit)) +
           " znakov: jeho koniec sa nečítal.",
       line, "Riadok je dlhší ako " + intToText(static_cast<long long>(limit)) + " znakov, jeho koniec sa nečíta");
}

void reportListEnd(Ui& ui, unsigned line, unsigned unread) {
  tell(ui,
       "Zoznam CASIO 1 sa skončil na riadku " + intToText(line) + ", ktorý je kratší ako 50 znakov.\r\nZvyšných " +
           intToText(unread) + " riadkov s údajmi sa nečítalo.",
       line,
       "Riadok je kratší ako 50 znakov a končí zoznam CASIO 1; " + intToText(unread) +
           " ďalších riadkov s údajmi sa nečíta");
}

void reportCutRecord(Ui& ui, unsigned line) {
  tell(ui, "Vstupný súbor sa skončil uprostred položky na riadku " + intToText(line) + ": táto položka sa nenačítala.",
       line, "Súbor sa končí uprostred položky, tá sa nenačíta");
}

void reportReplacedCharacters(Ui& ui, const Utf8ToCp1250& conversion) {
  if (conversion.linesReplaced() == 0) return;
  ui.message(failureMessage(
      "Niektoré znaky vstupného súboru nemajú tvar vo Windows-1250; do NODRA sa zapísali ako „?“.\r\nRiadky: " +
      lineListText(conversion.firstLinesReplaced(), conversion.linesReplaced()) + "."));
}

void reportNoLayout(Ui& ui) {
  ui.setStatus("Nie je zvolený formát vstupného súboru");
  ui.message(failureMessage("Nie je zvolený formát vstupného súboru.\r\n\r\nDo NODRA sa nič neprenieslo."));
}

void reportInputNotRead(Ui& ui, const std::string& path, const FileError& error) {
  ui.setStatus("Chyba pri otvorení súboru " + path);
  ui.message(failureMessage(withDetail(" Vstupný súbor sa nedá otvoriť ", error)));
}

void reportNoGoods(Ui& ui, const std::string& path) {
  ui.setStatus("Vo vstupnom súbore nie je žiadna položka");
  ui.message(
      failureMessage("Vo vstupnom súbore " + path + " sa nenašla žiadna položka.\r\n\r\nDo NODRA sa nič neprenieslo."));
}

}  // namespace nodra
