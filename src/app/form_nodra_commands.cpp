// The commands of the main view and the batch command line: read-out, fill, and the clear requests.
#include "app/form_nodra.h"
#include "fill/fill_terminal.h"
#include "readout/read_out_commands.h"

namespace nodra {

namespace {
template <typename Command>
void runReadOut(TForm_nodra& form, Command command) {
  const LocalSettings settings = form.settingsAsControlsHoldThem();
  ReadOutContext ctx{form.session(),   settings,
                     form.exeFolder,   [&form] { form.ReadTerminalSettings(); },
                     form.nonZeroOnly, form.runningItemCounter};
  try {
    command(ctx);
  } catch (const std::exception& e) {
    // What ends the whole command (a write error of the settings service, an XML file that cannot be saved)
    // is told here, once.
    form.reportFailure(e.what());
  }
  form.nonZeroOnly = ctx.nonZeroOnly;
  form.runningItemCounter = ctx.runningItemCounter;
  form.ui().flush();
}
}  // namespace

void TForm_nodra::Btn_vyc_kartyClick() { runReadOut(*this, readOutAll); }
void TForm_nodra::Btn_nenul_kartyClick() { runReadOut(*this, readOutNonZero); }
void TForm_nodra::Btn_vyc_zostClick() { runReadOut(*this, readOutReport); }

void TForm_nodra::Btn_napln_skladClick() {
  if (!session_.check()) return;
  ReadTerminalSettings();
  ui_->setStatus("Naplnanie skladových kariet");
  runningItemCounter = 0;
  const LocalSettings s = settingsAsControlsHoldThem();
  FillContext ctx{session_, s, exeFolder, terminalSettings.PDM_PRICE, terminalSettings.PDM_COUNT};
  FormUi::ProblemList problems(*ui_);
  try {
    FillTerminal(ctx);
  } catch (const std::exception& e) {
    reportFailure(e.what());
  }
}

void TForm_nodra::ClearTerminalStores(int clearSklad, int clearZost, int clearSkladVP) {
  if (!session_.check()) return;
  ReadTerminalSettings();
  WriteTerminalSettings(clearSklad, clearZost, clearSkladVP);
}

void TForm_nodra::Btn_nul_skladClick() {
  if (!batchMode()) {
    Message question = warningMessage(
        "Naozaj chcete vynulovať všetky skladové karty hlavného skladu? \r\nTakisto sa zmaže zostava a sklad VP.");
    question.buttons = Buttons::YesNo;
    question.defaultAnswer = Answer::No;
    if (ui_->message(question) != Answer::Yes) return;
  }
  ClearTerminalStores(1, 1, 1);
}

void TForm_nodra::Btn_nul_zostClick() { ClearTerminalStores(0, 1, 0); }
void TForm_nodra::Btn_nul_skladVPClick() { ClearTerminalStores(0, 0, 1); }
void TForm_nodra::Btn_nul_hlSkladClick() { ClearTerminalStores(1, 0, 0); }

}  // namespace nodra
