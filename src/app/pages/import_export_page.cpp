#include "app/pages/import_export_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/pages/page_helpers.h"
#include "app/pages/wrapping_check_box.h"
#include "settings/local_settings.h"

namespace nodra {

namespace {
QComboBox* fieldList(QWidget* parent) {
  return pickList(parent, {"KOD ", "Cena/Karton", "Počet/Váha", "Názov "}, "Výber položky záznamu");
}

QPushButton* dots(QWidget* parent) {
  auto* b = new QPushButton(qs("..."), parent);
  b->setFixedWidth(24);
  return b;
}
}  // namespace

void LengthBox::stepBy(int steps) {
  QSpinBox::stepBy(steps);
  if (onStep) onStep();
}

ImportExportPage::ImportExportPage(QWidget* parent) : QWidget(parent) {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(2, 4, 2, 4);
  outer->setSpacing(4);

  GB_vstupny = new QGroupBox(qs(" Vstupný formát položiek do NODRA"), this);
  auto* in = new QGridLayout(GB_vstupny);
  const QMargins m = in->contentsMargins();
  in->setContentsMargins(4, m.top(), 4, m.bottom());
  in->setVerticalSpacing(3);
  auto* kinds = new QHBoxLayout;
  // Four boxes and the separator in one row just fit the window's width without the usual gaps.
  kinds->setSpacing(2);
  ChBox_odd_ISK = withHint(new QCheckBox(qs("Oddeľovač"), GB_vstupny), "Vstupný formát s pevným oddeľovačom");
  Edit_odd_ISK = withHint(new QLineEdit(qs(";"), GB_vstupny), "Oddeľovač položiek záznamu");
  Edit_odd_ISK->setMaxLength(1);
  Edit_odd_ISK->setFixedWidth(20);
  ChBox_casio1_ISK = withHint(new QCheckBox(qs("CASIO 1"), GB_vstupny), "Vstupný formát CASIO1");
  ChBox_pevna_dl_ISK = withHint(new QCheckBox(qs("Pevná dĺžka"), GB_vstupny), "Vstupný formát s pevnou dĺžkou");
  ChBox_old_ISK = withHint(new QCheckBox(qs("Pôvodný"), GB_vstupny), "Vstupný pôvodný formát DAT");
  kinds->addWidget(ChBox_odd_ISK);
  kinds->addWidget(Edit_odd_ISK);
  kinds->addWidget(ChBox_casio1_ISK);
  kinds->addWidget(ChBox_pevna_dl_ISK);
  kinds->addWidget(ChBox_old_ISK);
  kinds->addStretch();
  in->addLayout(kinds, 0, 0, 1, 4);

  // Two by two: four lists in one row would cut "Cena/Karton" at the window's width.
  auto* order = new QGridLayout;
  order->setVerticalSpacing(2);
  for (std::size_t i = 0; i < CB_odd_ISK.size(); ++i) {
    CB_odd_ISK[i] = fieldList(GB_vstupny);
    CB_odd_ISK[i]->setCurrentIndex(static_cast<int>(i));
    order->addWidget(CB_odd_ISK[i], static_cast<int>(i) / 2, static_cast<int>(i) % 2);
  }
  in->addLayout(order, 1, 0, 1, 4);

  RE_vstup = new SampleLineBox(GB_vstupny);
  RE_vstup->setReadOnly(true);
  RE_vstup->setLineWrapMode(QTextEdit::NoWrap);
  RE_vstup->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RE_vstup->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  RE_vstup->setFixedHeight(42);
  RE_vstup->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  RE_vstup->setContextMenuPolicy(Qt::CustomContextMenu);
  UpDown_in = withHint(new LengthBox(GB_vstupny), "Dlzka  polozky zaznamu");
  UpDown_in->setRange(1, 40);
  UpDown_in->setValue(16);
  UpDown_in->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  Edit1 = UpDown_in->editor();
  auto* sample = new QHBoxLayout;
  sample->addWidget(RE_vstup, 1);
  sample->addWidget(UpDown_in);
  in->addLayout(sample, 2, 0, 1, 4);

  PopupMenu1 = new QMenu(RE_vstup);
  Kodtovaru1 = PopupMenu1->addAction(qs("Kod tovaru"));
  Cena1 = PopupMenu1->addAction(qs("Cena"));
  Pocet1 = PopupMenu1->addAction(qs("Pocet"));
  Nazovtovaru1 = PopupMenu1->addAction(qs("Nazov tovaru"));
  Reset1 = PopupMenu1->addAction(qs("Reset"));

  Btn_cfg_nacitaj = withHint(new QPushButton(qs("Načítaj "), GB_vstupny), "Načítanie vstupného súboru");
  Label19 = new QLabel(qs("Hlavný sklad"), GB_vstupny);
  Edit_in_karty = new QLineEdit(GB_vstupny);
  Btn_in_karty = dots(GB_vstupny);
  in->addWidget(Label19, 3, 0);
  in->addWidget(Edit_in_karty, 3, 1);
  in->addWidget(Btn_in_karty, 3, 2);
  in->addWidget(Btn_cfg_nacitaj, 3, 3);
  ChBox_kodovanie = new QCheckBox(qs("Použi kódovú tabuľku /codepage.tbl/"), GB_vstupny);
  ChBox_ignorovat =
      withHint(new WrappingCheckBox(qs("Nezobrazovať upozornenie pri prázdnom riadku vo vstupnom súbore"), GB_vstupny),
               "Ak je vo vstupnom súbore prázdny riadok, program nebude zobrazovať okno, ktoré na to "
               "upozorňovalo.");
  Btn_skontroluj = withHint(new QPushButton(qs("Skontroluj"), GB_vstupny),
                            "Prečíta vstupný súbor ako pri naplnení NODRA a ukáže jeho chyby; nič sa neprenesie.");
  in->addWidget(ChBox_kodovanie, 4, 0, 1, 3);
  in->addWidget(Btn_skontroluj, 4, 3);
  in->addWidget(ChBox_ignorovat, 5, 0, 1, 4);
  in->setColumnStretch(1, 1);
  outer->addWidget(GB_vstupny);

  GB_vystupny = new QGroupBox(qs(" Výstupný formát položiek z NODRA"), this);
  auto* out = new QGridLayout(GB_vystupny);
  out->setVerticalSpacing(3);
  RG_OSK = new QGroupBox(GB_vystupny);
  RG_OSK_items = new QButtonGroup(RG_OSK);
  auto* rg = new QVBoxLayout(RG_OSK);
  rg->setContentsMargins(4, 2, 4, 2);
  rg->setSpacing(0);
  int id = 0;
  for (std::string_view caption : {"Oddeľovač", "Pevná dĺžka", "CASIO 1", "Starý formát"}) {
    auto* item = new QRadioButton(qs(caption), RG_OSK);
    RG_OSK_items->addButton(item, id++);
    rg->addWidget(item);
  }
  RG_OSK_items->button(0)->setChecked(true);

  auto* fields = new QGridLayout;
  fields->setVerticalSpacing(1);
  for (std::size_t i = 0; i < 4; ++i) {
    const int row = static_cast<int>(i);
    Label15_18[i] = withHint(new QLabel(QString::number(row + 1) + QLatin1Char('.'), GB_vystupny), "Poradie polozky");
    CB_odd_OSK[i] = fieldList(GB_vystupny);
    CB_odd_OSK[i]->setCurrentIndex(row);
    dl_OSK[i] = withHint(new QLineEdit(qs("8"), GB_vystupny), "Dĺžka vybranej položky");
    dl_OSK[i]->setFixedWidth(30);
    fields->addWidget(Label15_18[i], row, 0);
    fields->addWidget(CB_odd_OSK[i], row, 1);
    fields->addWidget(dl_OSK[i], row, 2);
  }
  Edit_odd_OSK = withHint(new QLineEdit(qs(";"), GB_vystupny), "Oddelovac poloziek zaznamu");
  Edit_odd_OSK->setMaxLength(1);
  Edit_odd_OSK->setFixedWidth(20);
  Label14 = withHint(new QLabel(qs("PDM1"), GB_vystupny), "Počet desatinných miest (počet)");
  pdm1_OSK = withHint(new QLineEdit(qs("0"), GB_vystupny), "Pocet desatinnych miest (pocet)");
  Label21 = withHint(new QLabel(qs("PDM2"), GB_vystupny), "Počet desatinných miest (cena)");
  pdm2_OSK = withHint(new QLineEdit(qs("0"), GB_vystupny), "Pocet desatinnych miest (cena)");
  pdm1_OSK->setFixedWidth(30);
  pdm2_OSK->setFixedWidth(30);
  auto* decimals = new QGridLayout;
  decimals->addWidget(Edit_odd_OSK, 0, 0, 1, 2);
  decimals->addWidget(Label14, 1, 0);
  decimals->addWidget(pdm1_OSK, 1, 1);
  decimals->addWidget(Label21, 2, 0);
  decimals->addWidget(pdm2_OSK, 2, 1);
  decimals->setRowStretch(3, 1);
  auto* top = new QHBoxLayout;
  top->addWidget(RG_OSK);
  top->addLayout(fields, 1);
  top->addLayout(decimals);
  out->addLayout(top, 0, 0, 1, 3);

  Label4 = new QLabel(qs("Hlavný sklad"), GB_vystupny);
  Edit_outv = new QLineEdit(GB_vystupny);
  Btn_out_vsetky = dots(GB_vystupny);
  Label12 = new QLabel(qs("Nenul. hl. sklad"), GB_vystupny);
  Edit_outn = new QLineEdit(GB_vystupny);
  Btn_out_nenul = dots(GB_vystupny);
  Label24 = new QLabel(qs("Zostavy"), GB_vystupny);
  Edit_outprij = new QLineEdit(GB_vystupny);
  Btn_prijemky = dots(GB_vystupny);
  const std::tuple<QLabel*, QLineEdit*, QPushButton*> paths[] = {
      {Label4, Edit_outv, Btn_out_vsetky}, {Label12, Edit_outn, Btn_out_nenul}, {Label24, Edit_outprij, Btn_prijemky}};
  int row = 1;
  for (const auto& [label, edit, button] : paths) {
    out->addWidget(label, row, 0);
    out->addWidget(edit, row, 1);
    out->addWidget(button, row++, 2);
  }
  Label_archiv = withHint(new QLabel(qs("Archív vyčítaní"), GB_vystupny),
                          "Priečinok, do ktorého každé vyčítanie najprv odloží súbory z NODRA; prázdny = bez archívu");
  Edit_archiv = new QLineEdit(GB_vystupny);
  Btn_archiv = dots(GB_vystupny);
  Label_archiv_pocet = new QLabel(qs("počet"), GB_vystupny);
  UpDown_archiv_pocet = withHint(new QSpinBox(GB_vystupny), "Koľko najnovších archívov ostane; 0 = všetky");
  UpDown_archiv_pocet->setRange(0, 9999);
  UpDown_archiv_pocet->setValue(30);
  auto* archive = new QHBoxLayout;
  archive->setSpacing(3);
  archive->addWidget(Edit_archiv, 1);
  archive->addSpacing(2);
  archive->addWidget(Label_archiv_pocet);
  archive->addWidget(UpDown_archiv_pocet);
  out->addWidget(Label_archiv, row, 0);
  out->addLayout(archive, row, 1);
  out->addWidget(Btn_archiv, row++, 2);

  GB_formatovat = new QGroupBox(qs("Formátovať data vyššie nastaveným spôsobom"), GB_vystupny);
  auto* fm = new QGridLayout(GB_formatovat);
  fm->setVerticalSpacing(2);
  const QMargins fmMargins = fm->contentsMargins();
  fm->setContentsMargins(4, fmMargins.top(), 4, fmMargins.bottom());
  RadioButton1 = withHint(new QRadioButton(qs("ÁNO"), GB_formatovat), "ANO = data sa formátujú");
  RadioButton2 = withHint(new QRadioButton(qs("NIE = SUROVÉ DATA"), GB_formatovat), "NIE = data sa neformátujú");
  // The four read-out radio buttons across two pages are managed by their handlers, not by Qt's grouping.
  RadioButton1->setAutoExclusive(false);
  RadioButton2->setAutoExclusive(false);
  Label9 = new QLabel(qs("Všetky sklady"), GB_formatovat);
  Edit_skladVP = new QLineEdit(GB_formatovat);
  Btn_skladVP = dots(GB_formatovat);
  ChBox_diakritika = withHint(new QCheckBox(qs("Zachovať diakritiku"), GB_formatovat),
                              "Názvy a ostatné texty si ponechajú písmená s diakritikou (Čokoláda ostane Čokoláda).");
  auto* mode = new QHBoxLayout;
  mode->addWidget(RadioButton1);
  mode->addWidget(RadioButton2);
  mode->setSpacing(1);
  mode->addStretch(1);
  mode->addWidget(ChBox_diakritika);
  fm->addLayout(mode, 0, 0, 1, 3);
  fm->addWidget(Label9, 1, 0);
  fm->addWidget(Edit_skladVP, 1, 1);
  fm->addWidget(Btn_skladVP, 1, 2);
  fm->setColumnStretch(1, 1);
  out->addWidget(GB_formatovat, row, 0, 1, 3);
  out->setColumnStretch(1, 1);
  outer->addWidget(GB_vystupny);
  outer->addStretch();
}

QList<QWidget*> ImportExportPage::outputLayoutControls() const {
  QList<QWidget*> list{RG_OSK,  pdm1_OSK,  pdm2_OSK,  Label14,      Label21,        Edit_odd_OSK,  Label4,      Label12,
                       Label24, Edit_outv, Edit_outn, Edit_outprij, Btn_out_vsetky, Btn_out_nenul, Btn_prijemky};
  for (auto* cb : CB_odd_OSK) list.append(cb);
  for (auto* dl : dl_OSK) list.append(dl);
  return list;
}

QList<QWidget*> ImportExportPage::rawCopyControls() const { return {Edit_skladVP, Btn_skladVP, Label9}; }

void ImportExportPage::showReadOutMode(int mode) {
  switch (mode) {
    case kFormatted:
      RadioButton1->setChecked(true);
      RadioButton2->setChecked(false);
      setOutputLayoutEnabled(true);
      setRawCopyEnabled(false);
      break;
    case kRawCopy:
      RadioButton1->setChecked(false);
      RadioButton2->setChecked(true);
      setOutputLayoutEnabled(false);
      setRawCopyEnabled(true);
      break;
    case kXml:
      setOutputLayoutEnabled(false);
      setRawCopyEnabled(false);
      break;
    default: break;
  }
}

void ImportExportPage::showChosenReadOutMode(int mode) {
  // Refusing XML on the XML page leaves these two buttons as they were.
  if (mode != kXmlRefused) {
    RadioButton1->setChecked(mode == kFormatted);
    RadioButton2->setChecked(mode == kRawCopy);
  }
  setOutputLayoutEnabled(mode == kFormatted);
  setRawCopyEnabled(mode == kRawCopy);
}

void ImportExportPage::setOutputLayoutEnabled(bool enabled) {
  for (QWidget* w : outputLayoutControls()) w->setEnabled(enabled);
}

void ImportExportPage::setRawCopyEnabled(bool enabled) {
  for (QWidget* w : rawCopyControls()) w->setEnabled(enabled);
}

}  // namespace nodra
