// The local settings file: its load into the members and the controls, the commit of what the boxes hold, the
// save, and the paths chosen or typed for it.
#include "app/form_nodra.h"
#include "app/qt_text.h"
#include "platform/integer_text.h"
#include "platform/path_text.h"

namespace nodra {

namespace {
QString separatorText(signed char byte) {
  return byte == 0 ? QString() : qs(std::string_view(reinterpret_cast<const char*>(&byte), 1));
}

// A path the settings file cannot hold; the caller ends the sentence.
std::string unstorablePath(const std::string& path) {
  return "Cesta " + path + " obsahuje znaky, ktoré sa nedajú uložiť";
}

const QString kPathDialogTitle = QStringLiteral("Cesta k suboru");
const QString kTextFilter = QStringLiteral("Textove subory (*.txt);;Vsetky subory (*)");
}  // namespace

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
  settings.path_archiv = read.path_archiv;
  p->Edit_archiv->setText(qs(read.path_archiv));
  settings.archiv_pocet = read.archiv_pocet;
  p->UpDown_archiv_pocet->setValue(read.archiv_pocet);
  settings.Diakritika = read.Diakritika;
  p->ChBox_diakritika->setChecked(read.Diakritika);
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
    ui_->message(failureMessage(unstorablePath(fromQs(edit->text())) + "; ostáva " + member + ".", kCautionCaption,
                                Icon::Warning));
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
  takePath(p->Edit_archiv, settings.path_archiv);
  return SaveLocalSettings();
}

void TForm_nodra::chooseFolderPath(QLineEdit* edit, std::string* member) {
  takeChosenPath(chooseFolder_(qs("Priečinok"), qs(*member)), edit, member);
}

void TForm_nodra::choosePath(QLineEdit* edit, std::string* member) {
  takeChosenPath(chooseFile_(kPathDialogTitle, kTextFilter, qs(*member), false), edit, member);
}

void TForm_nodra::takeChosenPath(const std::optional<QString>& chosen, QLineEdit* edit, std::string* member) {
  if (!chosen) return;
  auto text = fromQsExact(*chosen);
  if (!text) {
    ui_->message(warningMessage(unstorablePath(fromQs(*chosen)) + "."));
    return;
  }
  *member = *text;
  edit->setText(qs(*member));
}

}  // namespace nodra
