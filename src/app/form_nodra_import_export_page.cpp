// The "IMPORT / EXPORT" page: the input layout boxes, the output layout group, the output paths and the
// read-out mode.
#include "app/form_nodra.h"
#include "app/qt_text.h"
#include "fill/input_check.h"
#include "platform/integer_text.h"

namespace nodra {

namespace {
signed char separatorByte(const QString& text) {
  std::string bytes = fromQs(text);
  return bytes.empty() ? static_cast<signed char>(0) : static_cast<signed char>(bytes[0]);
}
}  // namespace

void TForm_nodra::connectImportExportPage() {
  ImportExportPage* p = cfg_SK;
  connect(p->ChBox_odd_ISK, &QCheckBox::toggled, this, &TForm_nodra::ChBox_odd_ISKClick);
  connect(p->ChBox_casio1_ISK, &QCheckBox::toggled, this, &TForm_nodra::ChBox_casio1_ISKClick);
  connect(p->ChBox_pevna_dl_ISK, &QCheckBox::toggled, this, &TForm_nodra::ChBox_pevna_dl_ISKClick);
  connect(p->ChBox_old_ISK, &QCheckBox::toggled, this, &TForm_nodra::ChBox_old_ISKClick);
  connect(p->Edit_odd_ISK, &QLineEdit::textChanged, this, &TForm_nodra::Edit_odd_ISKChange);
  connect(p->Edit_odd_OSK, &QLineEdit::textChanged, this, &TForm_nodra::Edit_odd_OSKChange);
  connect(p->ChBox_kodovanie, &QCheckBox::toggled, this, &TForm_nodra::ChBox_kodovanieClick);
  connect(p->ChBox_ignorovat, &QCheckBox::toggled, this, &TForm_nodra::ChBox_ignorovatClick);
  connect(p->ChBox_diakritika, &QCheckBox::toggled, this, &TForm_nodra::ChBox_diakritikaClick);
  connect(p->UpDown_archiv_pocet, &QSpinBox::valueChanged, this, &TForm_nodra::UpDown_archiv_pocetChange);
  connect(p->Btn_archiv, &QPushButton::clicked, this, &TForm_nodra::Btn_archivClick);
  connect(p->RG_OSK_items, &QButtonGroup::idToggled, this, [this](int item, bool checked) {
    if (checked) RG_OSKClick(item);
  });
  // The read-out mode buttons act on the user's click only; the load sets them without their handlers.
  connect(p->RadioButton1, &QRadioButton::clicked, this, &TForm_nodra::RadioButton1Click);
  connect(p->RadioButton2, &QRadioButton::clicked, this, &TForm_nodra::RadioButton2Click);
  connect(p->Btn_in_karty, &QPushButton::clicked, this, &TForm_nodra::Btn_in_kartyClick);
  connect(p->Btn_skontroluj, &QPushButton::clicked, this, &TForm_nodra::Btn_skontrolujClick);
  connect(p->Btn_out_vsetky, &QPushButton::clicked, this, &TForm_nodra::Btn_out_vsetkyClick);
  connect(p->Btn_out_nenul, &QPushButton::clicked, this, &TForm_nodra::Btn_out_nenulClick);
  connect(p->Btn_prijemky, &QPushButton::clicked, this, &TForm_nodra::Btn_prijemkyClick);
  connect(p->Btn_skladVP, &QPushButton::clicked, this, &TForm_nodra::Btn_skladVPClick);
}

void TForm_nodra::cfg_SKShow() {
  RefreshLayoutControls();
  cfg_SK->Btn_cfg_nacitaj->setVisible(cfg_SK->ChBox_pevna_dl_ISK->isChecked());
}

void TForm_nodra::cfg_SKHide() {
  ImportExportPage* p = cfg_SK;
  int* targets[] = {&settings.dlzka1_OSK, &settings.dlzka2_OSK, &settings.dlzka3_OSK,
                    &settings.dlzka4_OSK, &settings.PDM1_OSK,   &settings.PDM2_OSK};
  QLineEdit* boxes[] = {p->dl_OSK[0], p->dl_OSK[1], p->dl_OSK[2], p->dl_OSK[3], p->pdm1_OSK, p->pdm2_OSK};
  try {
    for (int i = 0; i < 6; ++i) *targets[i] = strToInt(fromQs(boxes[i]->text()));
  } catch (const ConvertError& e) {
    reportFailure(e.what());
  }
}

void TForm_nodra::RefreshLayoutControls() {
  if (settings.formatovatData == kRawCopy) return;
  ImportExportPage* p = cfg_SK;
  // Each selection that changes the item runs the group's own click, which leaves only that flag set.
  if (settings.Odd_OSK) p->RG_OSK_items->button(0)->setChecked(true);
  if (settings.Pevna_dl_OSK) p->RG_OSK_items->button(1)->setChecked(true);
  if (settings.CASIO1_OSK) p->RG_OSK_items->button(2)->setChecked(true);
  if (settings.Old_OSK) p->RG_OSK_items->button(3)->setChecked(true);
  p->pdm1_OSK->setText(QString::number(settings.PDM1_OSK));
  p->pdm2_OSK->setText(QString::number(settings.PDM2_OSK));
  const bool fixedIn = p->ChBox_pevna_dl_ISK->isChecked();
  p->UpDown_in->setVisible(fixedIn);
  p->RE_vstup->setVisible(fixedIn);
  const bool delimitedIn = p->ChBox_odd_ISK->isChecked();
  for (QComboBox* cb : p->CB_odd_ISK) cb->setVisible(delimitedIn);
  p->Edit_odd_ISK->setVisible(delimitedIn);
  if (settings.CASIO1_OSK || settings.Old_OSK) {
    for (QComboBox* cb : p->CB_odd_OSK) cb->setEnabled(false);
  } else if (settings.formatovatData != kXml && settings.formatovatData != kXmlRefused) {
    for (QComboBox* cb : p->CB_odd_OSK) cb->setEnabled(true);
  }
  p->Edit_odd_OSK->setVisible(settings.Odd_OSK);
  for (QLineEdit* dl : p->dl_OSK) dl->setVisible(settings.Pevna_dl_OSK);
}

void TForm_nodra::layoutBoxClicked(QCheckBox* box, bool& flag) {
  ImportExportPage* p = cfg_SK;
  flag = box->isChecked();
  if (box == p->ChBox_pevna_dl_ISK) p->Btn_cfg_nacitaj->setVisible(box->isChecked());
  if (box->isChecked()) {
    for (QCheckBox* other : {p->ChBox_odd_ISK, p->ChBox_casio1_ISK, p->ChBox_pevna_dl_ISK, p->ChBox_old_ISK}) {
      if (other != box) other->setChecked(false);
    }
  }
  RefreshLayoutControls();
}

void TForm_nodra::ChBox_odd_ISKClick() { layoutBoxClicked(cfg_SK->ChBox_odd_ISK, settings.Odd_ISK); }
void TForm_nodra::ChBox_casio1_ISKClick() { layoutBoxClicked(cfg_SK->ChBox_casio1_ISK, settings.CASIO1_ISK); }
void TForm_nodra::ChBox_pevna_dl_ISKClick() { layoutBoxClicked(cfg_SK->ChBox_pevna_dl_ISK, settings.Pevna_dl_ISK); }
void TForm_nodra::ChBox_old_ISKClick() { layoutBoxClicked(cfg_SK->ChBox_old_ISK, settings.Old_ISK); }

void TForm_nodra::Edit_odd_ISKChange() { settings.Odd_Char_ISK = separatorByte(cfg_SK->Edit_odd_ISK->text()); }
void TForm_nodra::Edit_odd_OSKChange() { settings.Odd_Char_OSK = separatorByte(cfg_SK->Edit_odd_OSK->text()); }

void TForm_nodra::ChBox_kodovanieClick() { settings.use_tbl = cfg_SK->ChBox_kodovanie->isChecked(); }
void TForm_nodra::ChBox_ignorovatClick() { settings.hlaska_data_in = cfg_SK->ChBox_ignorovat->isChecked() ? 1 : 0; }
void TForm_nodra::ChBox_diakritikaClick() { settings.Diakritika = cfg_SK->ChBox_diakritika->isChecked(); }
void TForm_nodra::UpDown_archiv_pocetChange(int count) { settings.archiv_pocet = count; }

void TForm_nodra::Btn_archivClick() { chooseFolderPath(cfg_SK->Edit_archiv, &settings.path_archiv); }

void TForm_nodra::RG_OSKClick(int item) {
  settings.Odd_OSK = item == 0;
  settings.Pevna_dl_OSK = item == 1;
  settings.CASIO1_OSK = item == 2;
  settings.Old_OSK = item == 3;
  RefreshLayoutControls();
}

// Both pages show every choice of the mode; the mode itself is the settings' alone.
void TForm_nodra::chooseReadOutMode(int mode) {
  settings.formatovatData = mode;
  cfg_SK->showChosenReadOutMode(mode);
  tab_xml->showChosenReadOutMode(mode);
}

void TForm_nodra::RadioButton1Click() { chooseReadOutMode(kFormatted); }
void TForm_nodra::RadioButton2Click() { chooseReadOutMode(kRawCopy); }

void TForm_nodra::Btn_in_kartyClick() { choosePath(cfg_SK->Edit_in_karty, &settings.path_ins); }

void TForm_nodra::Btn_skontrolujClick() {
  // The list as the boxes stand, the typed path included; nothing is kept or saved by the check.
  LocalSettings s = settingsAsControlsHoldThem();
  if (!takePath(cfg_SK->Edit_in_karty, s.path_ins)) return;
  const InputCheckReport report = checkInputFile(s, exeFolder);
  std::string text = report.lines.empty() ? "Vstupný súbor je v poriadku." : "";
  for (const std::string& line : report.lines) text += line + "\r\n";
  text += "\r\n" + report.closingLine() + ".";
  Message m = report.failed ? warningMessage(std::move(text), "Kontrola vstupného súboru")
                            : informationMessage(std::move(text), "Kontrola vstupného súboru");
  m.longList = true;
  ui_->message(m.owned());
}
void TForm_nodra::Btn_out_vsetkyClick() { choosePath(cfg_SK->Edit_outv, &settings.path_outv); }
void TForm_nodra::Btn_out_nenulClick() { choosePath(cfg_SK->Edit_outn, &settings.path_outn); }
void TForm_nodra::Btn_prijemkyClick() { choosePath(cfg_SK->Edit_outprij, &settings.path_zostava); }
void TForm_nodra::Btn_skladVPClick() { choosePath(cfg_SK->Edit_skladVP, &settings.path_suroveData); }
}  // namespace nodra
