#include "app/pages/terminal_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/pages/page_helpers.h"
#include "app/pages/typing_rule.h"

namespace nodra {

namespace {
// A value whose entry falls outside the list leaves the list with nothing selected.
void selectEntry(QComboBox* box, int entry) { box->setCurrentIndex(entry >= 0 && entry < box->count() ? entry : -1); }
}  // namespace

void TerminalPage::build() {
  auto* frame = new QGroupBox(this);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 4, 4, 4);
  outer->addWidget(frame);
  auto* grid = new QGridLayout(frame);

  auto* settings = new QGroupBox(qs(" Nastavenie NODRA"), frame);
  auto* sg = new QGridLayout(settings);
  CB_pocet = pickList(settings, {"0", "1", "2", "3"},
                      "Počet desatinných miest počet (0-3), zobrazených na displeji NODRA a takisto s akou presnosťou "
                      "sa dáta ukladajú do databázy");
  CB_cena = pickList(settings, {"0", "1", "2", "3"}, "Počet desatinných miest pre cenu");
  Edit_auto = new QLineEdit(qs("0"), settings);
  // Digits and "." may be typed, seven characters at most; the terminal's own value of up to ten is shown and
  // kept whole.
  setTypingRule(
      Edit_auto, [](QChar c) { return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.'); }, 7);
  CB_sign = pickList(settings, {"-", "+"}, "Pri auto počte plus mínus ");
  auto* autoLabel = withHint(new QLabel(qs("Auto počet"), settings),
                             "Auto hodnota, pri naskenovaní, zadaní položky bude ako predvolený počet, množstvo");
  sg->addWidget(new QLabel(qs("Počet (PDM1)"), settings), 0, 0);
  sg->addWidget(CB_pocet, 0, 1);
  sg->addWidget(new QLabel(qs("Cena  (PDM2)"), settings), 1, 0);
  sg->addWidget(CB_cena, 1, 1);
  sg->addWidget(autoLabel, 2, 0);
  sg->addWidget(Edit_auto, 2, 1);
  sg->addWidget(new QLabel(qs("Znamienko"), settings), 3, 0);
  sg->addWidget(CB_sign, 3, 1);
  ChBox_karton = withHint(new QCheckBox(qs("Režim kartón"), settings), "Zapnutie režimu karton");
  ChBox_sumar =
      withHint(new QCheckBox(qs("Ukáž sumár hl. skladu"), settings), "Povolenie zobrazenia sumáru hlavného skladu");
  ChBox_zmen_cenu =
      withHint(new QCheckBox(qs("Zmeň cenu"), settings), "Táto voľba umožnuje meniť cenu na skladových kartách");
  CheckBox1 = withHint(new QCheckBox(qs("Auto záloha dát"), settings),
                       "Automatické zálohovanie údajov pri poklese napájacieho napätia. Dáta sa skopírujú zo SRAM "
                       "pamäte na SD kartu");
  ChBox_vaha = withHint(new QCheckBox(qs("Váhový kód"), settings), "Zapnutie režimu váhových kódov");
  int row = 4;
  for (QCheckBox* box : {ChBox_karton, ChBox_sumar, ChBox_zmen_cenu, CheckBox1, ChBox_vaha})
    sg->addWidget(box, row++, 0, 1, 2);

  GroupBox_vaha = new QGroupBox(qs(" Váhový kód "), frame);
  auto* vg = new QGridLayout(GroupBox_vaha);
  CB_kodvaha_zac =
      pickList(GroupBox_vaha, {"0", "1", "2"}, "Pozícia, od ktorej začína kód tovaru (číslovanie začína od 0)");
  CB_kodvaha_end =
      pickList(GroupBox_vaha, {"4", "5", "6"}, "Pozícia, na ktorej končí kód tovaru (číslovanie začína od 0)");
  CB_vahazac =
      pickList(GroupBox_vaha, {"6", "7", "8"}, "Pozícia, od ktorej začína váha tovaru (číslovanie začína od 0)");
  CB_vahaend = pickList(GroupBox_vaha, {"11", "12"}, "Pozícia, na ktorej končí váha tovaru (číslovanie začína od 0)");
  CB_pdmvaha = pickList(GroupBox_vaha, {"0", "1", "2", "3", "4"}, "Počet desatinných miest váhy");
  Edit_id1 = new QLineEdit(qs("28"), GroupBox_vaha);
  Edit_id2 = new QLineEdit(qs("29"), GroupBox_vaha);
  Edit_id3 = new QLineEdit(GroupBox_vaha);
  const std::pair<const char*, QWidget*> rows[] = {{"KÓD začiatok", CB_kodvaha_zac},
                                                   {"KÓD koniec", CB_kodvaha_end},
                                                   {"Váha začiatok", CB_vahazac},
                                                   {"Váha koniec", CB_vahaend},
                                                   {"Des. miesta", CB_pdmvaha},
                                                   {"K1", Edit_id1},
                                                   {"K2", Edit_id2},
                                                   {"K3", Edit_id3}};
  row = 0;
  for (const auto& [caption, control] : rows) {
    vg->addWidget(new QLabel(qs(caption), GroupBox_vaha), row, 0);
    vg->addWidget(control, row++, 1);
  }
  for (QLineEdit* id : {Edit_id1, Edit_id2, Edit_id3}) {
    id->setMaxLength(2);
    id->setToolTip(qs("Identifikácia začiatku váhového kódu"));
  }
  // The group keeps its room while hidden, so ticking "Váhový kód" does not shift the rest of the page.
  QSizePolicy keepRoom = GroupBox_vaha->sizePolicy();
  keepRoom.setRetainSizeWhenHidden(true);
  GroupBox_vaha->setSizePolicy(keepRoom);
  GroupBox_vaha->hide();

  auto* info = new QGroupBox(qs(" Info z NODRA"), frame);
  auto* ig = new QGridLayout(info);
  Label_ver = withHint(new QLabel(qs("?.??"), info), "Verzia firmware v NODRA3000");
  Poc_kariet = withHint(new QLabel(qs("0"), info), "Počet položiek v hlavnom sklade");
  Poc_zostava = withHint(new QLabel(qs("0"), info), "Počet položiek v zostave");
  ig->addWidget(new QLabel(qs("Firmware verzia"), info), 0, 0);
  ig->addWidget(Label_ver, 0, 1);
  ig->addWidget(new QLabel(qs("Počet hlavný sklad"), info), 1, 0);
  ig->addWidget(Poc_kariet, 1, 1);
  ig->addWidget(new QLabel(qs("Počet zostava"), info), 2, 0);
  ig->addWidget(Poc_zostava, 2, 1);

  BitBtn_VycKonfig = new QPushButton(qs("Obnov"), frame);
  Label_usbhdd = new QLabel(qs("Konfiguračný súbor adresa:"), frame);
  Edit_usbhdd = new QLineEdit(frame);
  Label_usbhdd->hide();
  Edit_usbhdd->hide();

  grid->addWidget(settings, 0, 0);
  grid->addWidget(GroupBox_vaha, 0, 1, 2, 1, Qt::AlignTop);
  grid->addWidget(info, 1, 0);
  grid->addWidget(BitBtn_VycKonfig, 2, 0, Qt::AlignLeft);
  grid->setRowStretch(3, 1);
}

void TerminalPage::show(const TerminalSettings& read) {
  Edit_id1->setText(qs(read.K_1));
  Edit_id2->setText(qs(read.K_2));
  Edit_id3->setText(qs(read.K_3));
  selectEntry(CB_kodvaha_zac, read.VAHOVYKOD_ZAC);
  selectEntry(CB_kodvaha_end, read.VAHOVYKOD_END - 4);
  selectEntry(CB_vahazac, read.VAHA_ZAC - 6);
  selectEntry(CB_vahaend, read.VAHA_END - 11);
  selectEntry(CB_pdmvaha, read.PDM_VAHA);
  Edit_auto->setText(qs(read.AUTO));
  Label_ver->setText(qs(read.VERSION));
  ChBox_karton->setChecked(read.KARTON);
  ChBox_vaha->setChecked(read.K2829);
  ChBox_sumar->setChecked(read.SHOW_SUM);
  CheckBox1->setChecked(read.ZALOHA != 0);
  ChBox_zmen_cenu->setChecked(read.CHANGE_PRICE);
  Poc_kariet->setText(QString::number(read.SKLAD));
  Poc_zostava->setText(QString::number(read.ZOSTAVA));
}

void TerminalPage::showDecimalsAndSign(const TerminalSettings& s, bool fixed) {
  if (fixed) {
    selectEntry(CB_pocet, s.PDM_COUNT);
    selectEntry(CB_cena, s.PDM_PRICE);
    CB_pocet->setEnabled(false);
    CB_cena->setEnabled(false);
  } else {
    CB_pocet->setEnabled(true);
    CB_cena->setEnabled(true);
    selectEntry(CB_pocet, s.PDM_COUNT);
    selectEntry(CB_cena, s.PDM_PRICE);
  }
  selectEntry(CB_sign, s.SIGN);
}

void TerminalPage::showCartonMode(bool ticked) {
  if (ticked) CB_cena->setCurrentIndex(0);
  CB_cena->setEnabled(!ticked);
}

TerminalSettingsControls TerminalPage::controls() const {
  TerminalSettingsControls c;
  c.weighedCodeTicked = ChBox_vaha->isChecked();
  c.kodvahaZac = fromQs(CB_kodvaha_zac->currentText());
  c.kodvahaEnd = fromQs(CB_kodvaha_end->currentText());
  c.vahaZac = fromQs(CB_vahazac->currentText());
  c.vahaEnd = fromQs(CB_vahaend->currentText());
  c.pdmVaha = fromQs(CB_pdmvaha->currentText());
  c.id1 = fromQs(Edit_id1->text());
  c.id2 = fromQs(Edit_id2->text());
  c.id3 = fromQs(Edit_id3->text());
  return c;
}

}  // namespace nodra
