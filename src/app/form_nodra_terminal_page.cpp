// The "NODRA" page: reading and writing the terminal's settings file, and the clear requests that ride on it.
#include <QKeyEvent>

#include "app/form_nodra.h"
#include "app/qt_text.h"
#include "platform/integer_text.h"

namespace nodra {

void TForm_nodra::connectTerminalPage() {
  TerminalPage* p = cfg_terminal;
  // Lists run their handler only on the user's choice; check boxes and the edit box on every change.
  connect(p->CB_pocet, &QComboBox::activated, this, [this](int entry) {
    terminalSettings.PDM_COUNT = entry;
    writeFromTerminalPage([this, entry] {
      terminalSettings.PDM_COUNT = entry;
      cfg_terminal->CB_pocet->setCurrentIndex(entry);
    });
  });
  connect(p->CB_cena, &QComboBox::activated, this, [this](int entry) {
    terminalSettings.PDM_PRICE = entry;
    writeFromTerminalPage([this, entry] {
      terminalSettings.PDM_PRICE = entry;
      cfg_terminal->CB_cena->setCurrentIndex(entry);
    });
  });
  connect(p->CB_sign, &QComboBox::activated, this, [this](int entry) {
    terminalSettings.SIGN = static_cast<signed char>(entry);
    writeFromTerminalPage([this, entry] {
      terminalSettings.SIGN = static_cast<signed char>(entry);
      cfg_terminal->CB_sign->setCurrentIndex(entry);
    });
  });
  for (QComboBox* box : {p->CB_kodvaha_zac, p->CB_kodvaha_end, p->CB_vahazac, p->CB_vahaend, p->CB_pdmvaha}) {
    connect(box, &QComboBox::activated, this,
            [this, box](int entry) { writeFromTerminalPage([box, entry] { box->setCurrentIndex(entry); }); });
  }
  p->Edit_auto->installEventFilter(this);
  connect(p->Edit_auto, &QLineEdit::textChanged, this, [this](const QString& text) {
    terminalSettings.AUTO = fromQs(text);
    writeFromTerminalPage([this, text] {
      QSignalBlocker quiet(cfg_terminal->Edit_auto);
      cfg_terminal->Edit_auto->setText(text);
      terminalSettings.AUTO = fromQs(text);
    });
  });
  auto tickHandler = [this](QCheckBox* box, const std::function<void(bool)>& apply) {
    connect(box, &QCheckBox::toggled, this, [this, box, apply](bool ticked) {
      apply(ticked);
      writeFromTerminalPage([box, apply, ticked] {
        QSignalBlocker quiet(box);
        box->setChecked(ticked);
        apply(ticked);
      });
    });
  };
  tickHandler(p->ChBox_karton, [this](bool ticked) {
    terminalSettings.KARTON = ticked;
    if (ticked) terminalSettings.PDM_PRICE = 0;
    cfg_terminal->showCartonMode(ticked);
  });
  tickHandler(p->ChBox_sumar, [this](bool ticked) { terminalSettings.SHOW_SUM = ticked; });
  tickHandler(p->ChBox_zmen_cenu, [this](bool ticked) { terminalSettings.CHANGE_PRICE = ticked; });
  tickHandler(p->CheckBox1, [this](bool ticked) { terminalSettings.ZALOHA = ticked ? 1 : 0; });
  connect(p->ChBox_vaha, &QCheckBox::toggled, this, [this](bool ticked) {
    terminalSettings.K2829 = ticked;
    writeFromTerminalPage([this, ticked] {
      QSignalBlocker quiet(cfg_terminal->ChBox_vaha);
      cfg_terminal->ChBox_vaha->setChecked(ticked);
      terminalSettings.K2829 = ticked;
    });
    cfg_terminal->GroupBox_vaha->setVisible(ticked);
  });
  for (QLineEdit* id : {p->Edit_id1, p->Edit_id2, p->Edit_id3}) id->installEventFilter(this);
  connect(p->BitBtn_VycKonfig, &QPushButton::clicked, this, [this] {
    if (session_.check()) ReadTerminalSettings();
  });
}

bool TForm_nodra::eventFilter(QObject* watched, QEvent* event) {
  TerminalPage* p = cfg_terminal;
  // The box's typing rule lets only digits and "." in (typed, pasted or dropped); keys that type nothing, such
  // as Tab, the arrows and the editing shortcuts, work as in any box.
  if (watched == p->Edit_auto && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
      terminalSettings.AUTO = fromQs(p->Edit_auto->text());
    return false;
  }
  if ((watched == p->Edit_id1 || watched == p->Edit_id2 || watched == p->Edit_id3) &&
      event->type() == QEvent::MouseButtonPress) {
    const QString id1 = p->Edit_id1->text(), id2 = p->Edit_id2->text(), id3 = p->Edit_id3->text();
    writeFromTerminalPage([p, id1, id2, id3] {
      p->Edit_id1->setText(id1);
      p->Edit_id2->setText(id2);
      p->Edit_id3->setText(id3);
    });
    return false;
  }
  return QWidget::eventFilter(watched, event);
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
  ui_->setStatus("Konfigurácia zapísaná");
}

void TForm_nodra::ClearTerminalStores(int clearSklad, int clearZost, int clearSkladVP) {
  if (!session_.check()) return;
  ReadTerminalSettings();
  WriteTerminalSettings(clearSklad, clearZost, clearSkladVP);
}

void TForm_nodra::Btn_nul_skladClick() {
  if (!batchMode()) {
    Message question;
    question.text =
        "Naozaj chcete vynulovať všetky skladové karty hlavného skladu? \r\nTakisto sa zmaže zostava a sklad VP.";
    question.caption = "Pozor...";
    question.icon = Icon::Warning;
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
