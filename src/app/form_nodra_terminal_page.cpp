// The "NODRA" page: reading and writing the terminal's settings file, a write on every change of a control.
#include <QKeyEvent>

#include "app/form_nodra.h"
#include "app/qt_text.h"

namespace nodra {

void TForm_nodra::connectTerminalPage() {
  TerminalPage* p = cfg_terminal;
  // Lists run their handler only on the user's choice; check boxes and the edit box on every change.
  connect(p->CB_pocet, &QComboBox::activated, this, &TForm_nodra::CB_pocetChange);
  connect(p->CB_cena, &QComboBox::activated, this, &TForm_nodra::CB_cenaChange);
  connect(p->CB_sign, &QComboBox::activated, this, &TForm_nodra::CB_signChange);
  connect(p->CB_kodvaha_zac, &QComboBox::activated, this, &TForm_nodra::CB_kodvaha_zacChange);
  connect(p->CB_kodvaha_end, &QComboBox::activated, this, &TForm_nodra::CB_kodvaha_endChange);
  connect(p->CB_vahazac, &QComboBox::activated, this, &TForm_nodra::CB_vahazacChange);
  connect(p->CB_vahaend, &QComboBox::activated, this, &TForm_nodra::CB_vahaendChange);
  connect(p->CB_pdmvaha, &QComboBox::activated, this, &TForm_nodra::CB_pdmvahaChange);
  p->Edit_auto->installEventFilter(this);
  connect(p->Edit_auto, &QLineEdit::textChanged, this, &TForm_nodra::Edit_autoChange);
  connect(p->ChBox_karton, &QCheckBox::toggled, this, &TForm_nodra::ChBox_kartonClick);
  connect(p->ChBox_sumar, &QCheckBox::toggled, this, &TForm_nodra::ChBox_sumarClick);
  connect(p->ChBox_zmen_cenu, &QCheckBox::toggled, this, &TForm_nodra::ChBox_zmen_cenuClick);
  connect(p->CheckBox1, &QCheckBox::toggled, this, &TForm_nodra::CheckBox1Click);
  connect(p->ChBox_vaha, &QCheckBox::toggled, this, &TForm_nodra::ChBox_vahaClick);
  for (QLineEdit* id : {p->Edit_id1, p->Edit_id2, p->Edit_id3}) id->installEventFilter(this);
  connect(p->BitBtn_VycKonfig, &QPushButton::clicked, this, &TForm_nodra::BitBtn_VycKonfigClick);
}

bool TForm_nodra::eventFilter(QObject* watched, QEvent* event) {
  TerminalPage* p = cfg_terminal;
  // The box's typing rule lets only digits and "." in (typed, pasted or dropped); keys that type nothing, such
  // as Tab, the arrows and the editing shortcuts, work as in any box.
  if (watched == p->Edit_auto && event->type() == QEvent::KeyPress) {
    Edit_autoKeyPress(static_cast<QKeyEvent*>(event)->key());
    return false;
  }
  if ((watched == p->Edit_id1 || watched == p->Edit_id2 || watched == p->Edit_id3) &&
      event->type() == QEvent::MouseButtonPress) {
    Edit_idClick();
    return false;
  }
  return QWidget::eventFilter(watched, event);
}

void TForm_nodra::CB_pocetChange(int entry) {
  terminalSettings.PDM_COUNT = entry;
  writeFromTerminalPage([this, entry] {
    terminalSettings.PDM_COUNT = entry;
    cfg_terminal->CB_pocet->setCurrentIndex(entry);
  });
}

void TForm_nodra::CB_cenaChange(int entry) {
  terminalSettings.PDM_PRICE = entry;
  writeFromTerminalPage([this, entry] {
    terminalSettings.PDM_PRICE = entry;
    cfg_terminal->CB_cena->setCurrentIndex(entry);
  });
}

void TForm_nodra::CB_signChange(int entry) {
  terminalSettings.SIGN = static_cast<signed char>(entry);
  writeFromTerminalPage([this, entry] {
    terminalSettings.SIGN = static_cast<signed char>(entry);
    cfg_terminal->CB_sign->setCurrentIndex(entry);
  });
}

// The weighed-code lists hold no member: the write takes their texts.
void TForm_nodra::weighedCodeListChanged(QComboBox* box, int entry) {
  writeFromTerminalPage([box, entry] { box->setCurrentIndex(entry); });
}

void TForm_nodra::CB_kodvaha_zacChange(int entry) { weighedCodeListChanged(cfg_terminal->CB_kodvaha_zac, entry); }
void TForm_nodra::CB_kodvaha_endChange(int entry) { weighedCodeListChanged(cfg_terminal->CB_kodvaha_end, entry); }
void TForm_nodra::CB_vahazacChange(int entry) { weighedCodeListChanged(cfg_terminal->CB_vahazac, entry); }
void TForm_nodra::CB_vahaendChange(int entry) { weighedCodeListChanged(cfg_terminal->CB_vahaend, entry); }
void TForm_nodra::CB_pdmvahaChange(int entry) { weighedCodeListChanged(cfg_terminal->CB_pdmvaha, entry); }

void TForm_nodra::Edit_autoKeyPress(int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) terminalSettings.AUTO = fromQs(cfg_terminal->Edit_auto->text());
}

void TForm_nodra::Edit_autoChange() {
  const QString text = cfg_terminal->Edit_auto->text();
  terminalSettings.AUTO = fromQs(text);
  writeFromTerminalPage([this, text] {
    QSignalBlocker quiet(cfg_terminal->Edit_auto);
    cfg_terminal->Edit_auto->setText(text);
    terminalSettings.AUTO = fromQs(text);
  });
}

void TForm_nodra::tickChanged(QCheckBox* box, const std::function<void(bool)>& apply) {
  const bool ticked = box->isChecked();
  apply(ticked);
  writeFromTerminalPage([box, apply, ticked] {
    QSignalBlocker quiet(box);
    box->setChecked(ticked);
    apply(ticked);
  });
}

void TForm_nodra::ChBox_kartonClick() {
  tickChanged(cfg_terminal->ChBox_karton, [this](bool ticked) {
    terminalSettings.KARTON = ticked;
    if (ticked) terminalSettings.PDM_PRICE = 0;
    cfg_terminal->showCartonMode(ticked);
  });
}

void TForm_nodra::ChBox_sumarClick() {
  tickChanged(cfg_terminal->ChBox_sumar, [this](bool ticked) { terminalSettings.SHOW_SUM = ticked; });
}

void TForm_nodra::ChBox_zmen_cenuClick() {
  tickChanged(cfg_terminal->ChBox_zmen_cenu, [this](bool ticked) { terminalSettings.CHANGE_PRICE = ticked; });
}

void TForm_nodra::CheckBox1Click() {
  tickChanged(cfg_terminal->CheckBox1, [this](bool ticked) { terminalSettings.ZALOHA = ticked ? 1 : 0; });
}

void TForm_nodra::ChBox_vahaClick() {
  const bool ticked = cfg_terminal->ChBox_vaha->isChecked();
  terminalSettings.K2829 = ticked;
  writeFromTerminalPage([this, ticked] {
    QSignalBlocker quiet(cfg_terminal->ChBox_vaha);
    cfg_terminal->ChBox_vaha->setChecked(ticked);
    terminalSettings.K2829 = ticked;
  });
  cfg_terminal->GroupBox_vaha->setVisible(ticked);
}

// The prefix boxes hold no member: the write takes their texts.
void TForm_nodra::Edit_idClick() {
  TerminalPage* p = cfg_terminal;
  const QString id1 = p->Edit_id1->text(), id2 = p->Edit_id2->text(), id3 = p->Edit_id3->text();
  writeFromTerminalPage([p, id1, id2, id3] {
    p->Edit_id1->setText(id1);
    p->Edit_id2->setText(id2);
    p->Edit_id3->setText(id3);
  });
}

void TForm_nodra::BitBtn_VycKonfigClick() {
  if (session_.check()) ReadTerminalSettings();
}

void TForm_nodra::writeFromTerminalPage(const std::function<void()>& reapply) {
  if (configReady != 1) return;
  if (!session_.check()) {
    // Whatever is plugged in next may be another terminal.
    pageValuesFrom_.clear();
    return;
  }
  if (pageValuesFrom_.empty() || pageValuesFrom_ != cardIdentity(*session_.drive)) {
    // The page does not hold this terminal's values (none were read in this opening, or they came from another
    // card): take them from its file first, so that nothing the user did not change is overwritten with
    // another terminal's values or blanks, then repeat the user's change.
    configReady = 0;
    ReadTerminalSettings();
    reapply();
    configReady = 1;
  }
  WriteTerminalSettings(0, 0, 0);
}

void TForm_nodra::ReadTerminalSettings() {
  if (!session_.drive) return;
  ProfileFile file(session_.drive->place(kTerminalConfigFile), ProfileFile::Creation::MustExist);
  terminalSettings = readTerminalSettings(file);
  pageValuesFrom_ = cardIdentity(*session_.drive);
  // The page gets a copy: the handlers of the controls it changes change the members while it shows them.
  const TerminalSettings read = terminalSettings;
  cfg_terminal->show(read);
  if (settings.CASIO1_ISK) {
    terminalSettings.PDM_COUNT = 3;
    terminalSettings.PDM_PRICE = 2;
  }
  cfg_terminal->showDecimalsAndSign(terminalSettings, settings.CASIO1_ISK);
  cfg_SK->ChBox_kodovanie->setChecked(settings.use_tbl);
  ui_->setStatus("Konfigurácia vyčítaná");
}

void TForm_nodra::WriteTerminalSettings(int clearSklad, int clearZost, int clearSkladVP) {
  if (!session_.drive) return;
  ProfileFile file(session_.drive->place(kTerminalConfigFile), ProfileFile::Creation::MustExist);
  try {
    writeTerminalSettings(file, terminalSettings, cfg_terminal->controls(), {clearSklad, clearZost, clearSkladVP});
  } catch (const std::exception& e) {
    reportFailure(e.what());
    return;
  }
  // The replaced file is a new one on the card; it still holds what the page holds.
  if (!pageValuesFrom_.empty()) pageValuesFrom_ = cardIdentity(*session_.drive);
  // A settings file holds no records.
  ui_->reportOutput(session_.drive->displayPath(kTerminalConfigFile), 0);
  ui_->setStatus(kConfigWrittenStatus);
}

}  // namespace nodra
