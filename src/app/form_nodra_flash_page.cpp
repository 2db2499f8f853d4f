// The "FLASH" page: a terminal program file chosen and uploaded to the terminal.
#include "app/form_nodra.h"
#include "app/qt_text.h"
#include "terminal/program_upload.h"

namespace nodra {

void TForm_nodra::connectFlashPage() {
  connect(TabSheet2->Button21, &QPushButton::clicked, this, &TForm_nodra::Button21Click);
  connect(TabSheet2->BitBtn_napln, &QPushButton::clicked, this, &TForm_nodra::BitBtn_naplnClick);
}

void TForm_nodra::TabSheet2Show() { dialogsStartInWorkingFolder_ = true; }

void TForm_nodra::Button21Click() {
  auto chosen = chooseFile_(QString(), QStringLiteral("*.SHX subory s programom (*.shx *.SHX);;vsetky subory (*)"),
                            QString(), true);
  if (chosen) TabSheet2->Edit_program->setText(*chosen);
}

void TForm_nodra::BitBtn_naplnClick() {
  auto path = fromQsExact(TabSheet2->Edit_program->text());
  if (!path) {
    ui_->message(failureMessage(
        "Cesta " + fromQs(TabSheet2->Edit_program->text()) + " obsahuje znaky, ktoré sa nedajú spracovať.",
        "Chyba prenosu programu.", Icon::Warning));
    return;
  }
  uploadProgram(session_, *path);
}

}  // namespace nodra
