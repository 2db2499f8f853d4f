#include "fill/fill_terminal.h"

#include <filesystem>

#include "fill/code_table.h"
#include "fill/input_file.h"
#include "fill/input_parsers.h"
#include "fill/input_problems.h"
#include "fill/record_file.h"
#include "platform/atomic_file.h"
#include "platform/path_text.h"
#include "terminal/card_copy_check.h"

namespace nodra {
namespace fs = std::filesystem;

namespace {

void warn(Ui& ui, std::string text) { ui.message(failureMessage(std::move(text))); }

bool isReadableFile(const fs::path& file, FileError& error) {
  return openForReading(FilePlace::onPc(file), error).valid();
}

}  // namespace

void FillTerminal(FillContext& ctx) {
  Ui& ui = ctx.session.ui;
  const LocalSettings& s = ctx.settings;

  // Without a layout the terminal would get an empty list and lose its main store.
  InputParser parse = chooseInputParser(s);
  if (parse == nullptr) {
    reportNoLayout(ui);
    return;
  }

  const CodeTable table = LoadCodeTable(s.use_tbl, ctx.exeFolder, ui);

  InputFile input;
  FileError error;
  if (!input.open(FilePlace::onPc(toFsPath(s.path_ins)), error)) {
    reportInputNotRead(ui, s.path_ins, error);
    return;
  }

  // CASIO 1 lists always carry two price and three count decimals.
  const int pdmPrice = s.CASIO1_ISK ? 2 : ctx.PDM_PRICE;
  const int pdmCount = s.CASIO1_ISK ? 3 : ctx.PDM_COUNT;
  const fs::path work = toFsPath(ctx.exeFolder + "tmp_out.txt");
  RecordFileWriter writer(table, pdmPrice, pdmCount);
  // When the work file cannot be made the list is still read, so that its messages come as they would.
  writer.open(FilePlace::onPc(work));
  const unsigned count = parse(input, s, ui, writer);
  input.close();
  reportReplacedCharacters(ui, input.conversion());
  // A list read only in part must not replace the terminal's main store.
  if (input.failed()) {
    error.set(FileTrouble::System, s.path_ins, input.readError());
    reportInputNotRead(ui, s.path_ins, error);
    return;
  }
  ui.reportInput(s.path_ins, count, writer.dropped());
  // An empty list would wipe the terminal's main store: nothing goes to the card, the work file stays.
  if (count == 0) {
    writer.discard();
    reportNoGoods(ui, s.path_ins);
    return;
  }
  const bool written = writer.commit();

  ui.setProgressMax(static_cast<int>(count));
  ui.setStatus(" Prenos položiek do NODRA, stlač žltú klávesu");

  error = writer.error();
  if (written) ui.reportOutput(toDisplayText(work), count);
  if (!written || !isReadableFile(work, error)) {
    warn(ui, withDetail("Súbor tmp_out.txt sa nedá otvoriť ", error));
    ui.setStatus("Chyba pri otvorení súboru tmp_out.txt");
    return;
  }

  bool copied = false;
  // A card taken away since the detection can leave the empty folder it was mounted on: a list written
  // there would pass for delivered while the terminal never sees it.
  const auto& drive = ctx.session.drive;
  if (drive && cardStillThere(*drive, error) && makeCardFolder(drive->root, "DATA", error)) {
    copied = copyFileReplacing(FilePlace::onPc(work), drive->place("data\\data_in.txt"), error);
  }
  if (copied && !checkCardCopy(ui, drive->place("data\\data_in.txt"), FilePlace::onPc(work))) {
    ui.setStatus("Chyba pri kopirovaní súboru data_in.txt");
    return;
  }
  if (copied) ui.reportOutput(drive->displayPath("data\\data_in.txt"), count);
  if (!copied) {
    warn(ui, withDetail("Nepodarilo sa nakopírovať súbor do NODRA.", error));
    ui.setStatus("Chyba pri kopirovaní súboru data_in.txt");
    return;
  }

  ui.message(informationMessage(
                 "- údaje skopirované do NODRA\r\n\r\n- na dokončenie prenosu stlačte na NODRA akúkoľvek klávesu",
                 "Prenos údajov ukončený.")
                 .owned());
  ui.setStatus("NODRA pripojený");
}

}  // namespace nodra
