#include "terminal/card_copy_check.h"

#include <string>

#include "platform/card_read_back.h"
#include "platform/file_error.h"

namespace nodra {

bool checkCardCopy(Ui& ui, const FilePlace& copy, const FilePlace& source) {
  FileError error;
  const ReadBack result = readBack(copy, source, error);
  if (result == ReadBack::Kept) return true;
  std::string text =
      "Karta NODRA nezachovala, čo sa na ňu zapísalo: súbor " + copy.displayText() +
      (result == ReadBack::Differs ? " sa po zápise prečítal s iným obsahom." : " sa po zápise nedá prečítať.");
  FileError removal;
  if (removeCardFile(copy, removal)) {
    text +=
        "\r\n\r\nSúbor sa z karty odstránil, aby ho NODRA neprevzala. Skúste prenos znova; ak sa to opakuje, "
        "karta je chybná.";
  } else {
    text += "\r\n\r\nSúbor sa z karty nepodarilo odstrániť (" + reasonText(removal) +
            "): na NODRA nestláčajte klávesu a skúste prenos znova.";
  }
  ui.message(failureMessage(result == ReadBack::Unreadable ? withDetail(std::move(text), error) : std::move(text)));
  return false;
}

}  // namespace nodra
