#pragma once
// The "IMPORT / EXPORT" page: the input layout of the fill (upper group) and the output layout, output files
// and read-out mode (lower group). The form handles the controls' events and owns the local settings.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QWidget>
#include <array>
#include <functional>

#include "app/pages/sample_line_box.h"

namespace nodra {

// The length of the next selection in the sample: one box with up/down arrows. `onStep` runs when the arrows
// (or the arrow keys, the wheel) step it, not when a length is typed.
class LengthBox : public QSpinBox {
 public:
  explicit LengthBox(QWidget* parent = nullptr) : QSpinBox(parent) {}
  QLineEdit* editor() const { return lineEdit(); }
  std::function<void()> onStep;

 protected:
  void stepBy(int steps) override;
};

class ImportExportPage : public QWidget {
 public:
  explicit ImportExportPage(QWidget* parent = nullptr);

  // Input group " Vstupný formát položiek do NODRA".
  QGroupBox* GB_vstupny;
  QCheckBox* ChBox_odd_ISK;
  QLineEdit* Edit_odd_ISK;
  QCheckBox* ChBox_casio1_ISK;
  QCheckBox* ChBox_pevna_dl_ISK;
  QCheckBox* ChBox_old_ISK;
  std::array<QComboBox*, 4> CB_odd_ISK;  // CB_odd1_ISK .. CB_odd4_ISK
  SampleLineBox* RE_vstup;
  QLineEdit* Edit1;  // the text of UpDown_in
  LengthBox* UpDown_in;
  QPushButton* Btn_cfg_nacitaj;
  QLabel* Label19;
  QLineEdit* Edit_in_karty;
  QPushButton* Btn_in_karty;
  QCheckBox* ChBox_kodovanie;
  QCheckBox* ChBox_ignorovat;
  QPushButton* Btn_skontroluj;  // the list read as the fill would read it, nothing sent
  QMenu* PopupMenu1;
  QAction* Kodtovaru1;
  QAction* Cena1;
  QAction* Pocet1;
  QAction* Nazovtovaru1;
  QAction* Reset1;

  // Output group " Výstupný formát položiek z NODRA".
  QGroupBox* GB_vystupny;
  QGroupBox* RG_OSK;
  QButtonGroup* RG_OSK_items;  // ids 0..3: "Oddeľovač", "Pevná dĺžka", "CASIO 1", "Starý formát"
  std::array<QLabel*, 4> Label15_18;
  std::array<QComboBox*, 4> CB_odd_OSK;  // CB_odd1_OSK .. CB_odd4_OSK
  QLineEdit* Edit_odd_OSK;
  std::array<QLineEdit*, 4> dl_OSK;  // dl_OSK1 .. dl_OSK4
  QLabel* Label14;
  QLineEdit* pdm1_OSK;
  QLabel* Label21;
  QLineEdit* pdm2_OSK;
  QLabel* Label4;
  QLineEdit* Edit_outv;
  QPushButton* Btn_out_vsetky;
  QLabel* Label12;
  QLineEdit* Edit_outn;
  QPushButton* Btn_out_nenul;
  QLabel* Label24;
  QLineEdit* Edit_outprij;
  QPushButton* Btn_prijemky;
  // The archive of every read-out's card files (path_archiv, archiv_pocet) and the kept accents (Diakritika).
  QLabel* Label_archiv;
  QLineEdit* Edit_archiv;
  QPushButton* Btn_archiv;
  QLabel* Label_archiv_pocet;
  QSpinBox* UpDown_archiv_pocet;
  QCheckBox* ChBox_diakritika;
  QGroupBox* GB_formatovat;
  QRadioButton* RadioButton1;
  QRadioButton* RadioButton2;
  QLabel* Label9;
  QLineEdit* Edit_skladVP;
  QPushButton* Btn_skladVP;

  // The read-out mode (ReadOutMode) as loaded: the page's two buttons show it when it is one of theirs, and
  // the output layout and raw copy controls are enabled for the mode that uses them.
  void showReadOutMode(int mode);
  // The mode as chosen on this page or on the XML page: both buttons follow it.
  void showChosenReadOutMode(int mode);

  // The output layout controls that the read-out mode enables and disables together.
  QList<QWidget*> outputLayoutControls() const;
  QList<QWidget*> rawCopyControls() const;

 private:
  void setOutputLayoutEnabled(bool enabled);
  void setRawCopyEnabled(bool enabled);
};

}  // namespace nodra
