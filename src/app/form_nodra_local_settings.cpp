// The local settings file and the pages that edit it: IMPORT / EXPORT (layouts, paths, read-out mode) and XML.
#include <QSignalBlocker>

#include "app/form_nodra.h"
#include "app/qt_text.h"
#include "platform/integer_text.h"
#include "platform/path_text.h"

namespace nodra {

namespace {
QString separatorText(signed char byte) {
  return byte == 0 ? QString() : qs(std::string_view(reinterpret_cast<const char*>(&byte), 1));
}

signed char separatorByte(const QString& text) {
  std::string bytes = fromQs(text);
  return bytes.empty() ? static_cast<signed char>(0) : static_cast<signed char>(bytes[0]);
}

const QString kPathDialogTitle = QStringLiteral("Cesta k suboru");
const QString kTextFilter = QStringLiteral("Textove subory (*.txt);;Vsetky subory (*)");
}  // namespace

void TForm_nodra::connectLayoutPages() {
  ImportExportPage* p = cfg_SK;
  connect(p->ChBox_odd_ISK, &QCheckBox::toggled, this, [this] { ChBox_odd_ISKClick(); });
  connect(p->ChBox_casio1_ISK, &QCheckBox::toggled, this, [this] { ChBox_casio1_ISKClick(); });
  connect(p->ChBox_pevna_dl_ISK, &QCheckBox::toggled, this, [this] { ChBox_pevna_dl_ISKClick(); });
  connect(p->ChBox_old_ISK, &QCheckBox::toggled, this, [this] { ChBox_old_ISKClick(); });
  connect(p->Edit_odd_ISK, &QLineEdit::textChanged, this, [this] { Edit_odd_ISKChange(); });
  connect(p->Edit_odd_OSK, &QLineEdit::textChanged, this, [this] { Edit_odd_OSKChange(); });
  connect(p->ChBox_kodovanie, &QCheckBox::toggled, this, [this](bool ticked) { settings.use_tbl = ticked; });
  connect(p->ChBox_ignorovat, &QCheckBox::toggled, this,
          [this](bool ticked) { settings.hlaska_data_in = ticked ? 1 : 0; });
  connect(p->RG_OSK_items, &QButtonGroup::idToggled, this, [this](int item, bool checked) {
    if (checked) RG_OSKClick(item);
  });
  // The read-out mode buttons act on the user's click only; the load sets them without their handlers.
  connect(p->RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
  connect(p->RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton2Click(); });
  connect(tab_xml->RadioButton3, &QRadioButton::clicked, this, [this] { RadioButton3Click(); });
  connect(tab_xml->RadioButton4, &QRadioButton::clicked, this, [this] { RadioButton4Click(); });
  connect(p->Btn_in_karty, &QPushButton::clicked, this, [this] { Btn_in_kartyClick(); });
  connect(p->Btn_out_vsetky, &QPushButton::clicked, this, [this] { Btn_out_vsetkyClick(); });
  connect(p->Btn_out_nenul, &QPushButton::clicked, this, [this] { Btn_out_nenulClick(); });
  connect(p->Btn_prijemky, &QPushButton::clicked, this, [this] { Btn_prijemkyClick(); });
  connect(p->Btn_skladVP, &QPushButton::clicked, this, [this] { Btn_skladVPClick(); });
  connect(tab_xml->Btn_cestaXMLout, &QPushButton::clicked, this, [this] { Btn_cestaXMLoutClick(); });
}

void TForm_nodra::LoadLocalSettings() {
  setPageTabShown(5, false);
  setPageTabShown(6, false);
  ProfileFile file(toFsPath(localSettingsPath), localSettingsPath);
  const LocalSettings read = readLocalSettings(file, exeFolder);
  ImportExportPage* p = cfg_SK;
  // Each value goes into its member and then into its control, in the order of reading; a control whose
  // state changes runs its own handler, so the exclusive layout boxes settle as they always have.
  settings.use_tbl = read.use_tbl;
  settings.path_ins = read.path_ins;
  p->Edit_in_karty->setText(qs(read.path_ins));
  settings.path_outv = read.path_outv;
  p->Edit_outv->setText(qs(read.path_outv));
  settings.path_outn = read.path_outn;
  p->Edit_outn->setText(qs(read.path_outn));
  settings.path_zostava = read.path_zostava;
  p->Edit_outprij->setText(qs(read.path_zostava));
  settings.path_suroveData = read.path_suroveData;
  p->Edit_skladVP->setText(qs(read.path_suroveData));
  settings.path_xmlOut = read.path_xmlOut;
  tab_xml->Edit_XMLout->setText(qs(read.path_xmlOut));
  settings.Pevna_dl_ISK = read.Pevna_dl_ISK;
  p->ChBox_pevna_dl_ISK->setChecked(read.Pevna_dl_ISK);
  settings.KOD_zac = read.KOD_zac;
  settings.KOD_dlzka = read.KOD_dlzka;
  settings.POC_zac = read.POC_zac;
  settings.POC_dlzka = read.POC_dlzka;
  settings.CEN_zac = read.CEN_zac;
  settings.CEN_dlzka = read.CEN_dlzka;
  settings.NAZ_zac = read.NAZ_zac;
  settings.NAZ_dlzka = read.NAZ_dlzka;
  settings.Pevna_dl_OSK = read.Pevna_dl_OSK;
  const int widths[] = {read.dlzka1_OSK, read.dlzka2_OSK, read.dlzka3_OSK, read.dlzka4_OSK};
  settings.dlzka1_OSK = widths[0];
  settings.dlzka2_OSK = widths[1];
  settings.dlzka3_OSK = widths[2];
  settings.dlzka4_OSK = widths[3];
  for (int i = 0; i < 4; ++i) p->dl_OSK[static_cast<std::size_t>(i)]->setText(QString::number(widths[i]));
  settings.CASIO1_ISK = read.CASIO1_ISK;
  p->ChBox_casio1_ISK->setChecked(read.CASIO1_ISK);
  settings.CASIO1_OSK = read.CASIO1_OSK;
  settings.Odd_ISK = read.Odd_ISK;
  p->ChBox_odd_ISK->setChecked(read.Odd_ISK);
  const int inOrder[] = {read.Odd1_ISK, read.Odd2_ISK, read.Odd3_ISK, read.Odd4_ISK};
  for (int i = 0; i < 4; ++i)
    p->CB_odd_ISK[static_cast<std::size_t>(i)]->setCurrentIndex(inOrder[i] >= 0 && inOrder[i] < 4 ? inOrder[i] : -1);
  settings.Odd_Char_ISK = read.Odd_Char_ISK;
  p->Edit_odd_ISK->setText(separatorText(read.Odd_Char_ISK));
  settings.Odd_OSK = read.Odd_OSK;
  const int outOrder[] = {read.Odd1_OSK, read.Odd2_OSK, read.Odd3_OSK, read.Odd4_OSK};
  for (int i = 0; i < 4; ++i)
    p->CB_odd_OSK[static_cast<std::size_t>(i)]->setCurrentIndex(outOrder[i] >= 0 && outOrder[i] < 4 ? outOrder[i] : -1);
  settings.Odd_Char_OSK = read.Odd_Char_OSK;
  p->Edit_odd_OSK->setText(separatorText(read.Odd_Char_OSK));
  settings.Old_ISK = read.Old_ISK;
  p->ChBox_old_ISK->setChecked(read.Old_ISK);
  settings.Old_OSK = read.Old_OSK;
  settings.PDM1_OSK = read.PDM1_OSK;
  p->pdm1_OSK->setText(QString::number(read.PDM1_OSK));
  settings.PDM2_OSK = read.PDM2_OSK;
  p->pdm2_OSK->setText(QString::number(read.PDM2_OSK));
  settings.WriteCisloDokladu = read.WriteCisloDokladu;
  settings.hlaska_data_in = read.hlaska_data_in;
  p->ChBox_ignorovat->setChecked(read.hlaska_data_in != 0);
  settings.formatovatData = read.formatovatData;
  p->showReadOutMode(read.formatovatData);
  tab_xml->showReadOutMode(read.formatovatData);
  RefreshLayoutControls();
}

LocalSettings TForm_nodra::settingsAsControlsHoldThem() const {
  LocalSettings s = settings;
  const auto& in = cfg_SK->CB_odd_ISK;
  const auto& out = cfg_SK->CB_odd_OSK;
  s.Odd1_ISK = in[0]->currentIndex();
  s.Odd2_ISK = in[1]->currentIndex();
  s.Odd3_ISK = in[2]->currentIndex();
  s.Odd4_ISK = in[3]->currentIndex();
  s.Odd1_OSK = out[0]->currentIndex();
  s.Odd2_OSK = out[1]->currentIndex();
  s.Odd3_OSK = out[2]->currentIndex();
  s.Odd4_OSK = out[3]->currentIndex();
  return s;
}

bool TForm_nodra::SaveLocalSettings() {
  const LocalSettings s = settingsAsControlsHoldThem();
  ProfileFile file(toFsPath(localSettingsPath), localSettingsPath);
  try {
    writeLocalSettings(file, s);
  } catch (const WriteError& e) {
    reportFailure(e.what());
    return false;
  }
  return true;
}

bool TForm_nodra::takePath(QLineEdit* edit, std::string& member) {
  auto text = fromQsExact(edit->text());
  if (!text) {
    Message m;
    m.text = "Cesta " + fromQs(edit->text()) + " obsahuje znaky, ktoré sa nedajú uložiť; ostáva " + member + ".";
    m.caption = "Pozor...";
    m.icon = Icon::Warning;
    m.outcome = Outcome::Failure;
    ui_->message(m);
    return false;
  }
  member = *text;
  return true;
}

bool TForm_nodra::CommitLocalSettings() {
  ImportExportPage* p = cfg_SK;
  try {
    settings.PDM1_OSK = strToInt(fromQs(p->pdm1_OSK->text()));
    settings.PDM2_OSK = strToInt(fromQs(p->pdm2_OSK->text()));
    settings.dlzka1_OSK = strToInt(fromQs(p->dl_OSK[0]->text()));
    settings.dlzka2_OSK = strToInt(fromQs(p->dl_OSK[1]->text()));
    settings.dlzka3_OSK = strToInt(fromQs(p->dl_OSK[2]->text()));
    settings.dlzka4_OSK = strToInt(fromQs(p->dl_OSK[3]->text()));
  } catch (const ConvertError& e) {
    reportFailure(e.what());
    return false;
  }
  takePath(p->Edit_outv, settings.path_outv);
  takePath(p->Edit_outprij, settings.path_zostava);
  takePath(p->Edit_skladVP, settings.path_suroveData);
  takePath(tab_xml->Edit_XMLout, settings.path_xmlOut);
  takePath(p->Edit_outn, settings.path_outn);
  takePath(p->Edit_in_karty, settings.path_ins);
  return SaveLocalSettings();
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
void TForm_nodra::RadioButton3Click() { chooseReadOutMode(kXml); }
void TForm_nodra::RadioButton4Click() { chooseReadOutMode(kXmlRefused); }

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

void TForm_nodra::choosePath(QLineEdit* edit, std::string* member) {
  auto chosen = chooseFile_(kPathDialogTitle, kTextFilter, qs(*member), false);
  if (!chosen) return;
  auto text = fromQsExact(*chosen);
  if (!text) {
    Message m;
    m.text = "Cesta " + fromQs(*chosen) + " obsahuje znaky, ktoré sa nedajú uložiť.";
    m.caption = "Pozor...";
    m.icon = Icon::Warning;
    ui_->message(m);
    return;
  }
  *member = *text;
  edit->setText(qs(*member));
}

void TForm_nodra::Btn_in_kartyClick() { choosePath(cfg_SK->Edit_in_karty, &settings.path_ins); }
void TForm_nodra::Btn_out_vsetkyClick() { choosePath(cfg_SK->Edit_outv, &settings.path_outv); }
void TForm_nodra::Btn_out_nenulClick() { choosePath(cfg_SK->Edit_outn, &settings.path_outn); }
void TForm_nodra::Btn_prijemkyClick() { choosePath(cfg_SK->Edit_outprij, &settings.path_zostava); }
void TForm_nodra::Btn_skladVPClick() { choosePath(cfg_SK->Edit_skladVP, &settings.path_suroveData); }
void TForm_nodra::Btn_cestaXMLoutClick() { choosePath(tab_xml->Edit_XMLout, &settings.path_xmlOut); }

}  // namespace nodra
