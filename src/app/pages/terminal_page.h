#pragma once
// The "NODRA" page: the terminal's own settings. It shows them and gives back what the write takes from its
// controls; the form handles the controls' events and owns the settings.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "app/pages/lazy_page.h"
#include "terminal/terminal_settings.h"

namespace nodra {

class TerminalPage : public LazyPage {
 public:
  explicit TerminalPage(QWidget* parent = nullptr) : LazyPage(parent) {}

  // Everything read but the decimal places and the sign, in the order the form relies on: a control whose
  // state changes runs its handler, which may write the file and change the form's copy of the settings.
  void show(const TerminalSettings& read);
  // The two decimal lists and the sign, from the settings as those handlers left them (a ticked carton box
  // clears the price's places); `fixed` (the CASIO 1 input layout) greys the decimal lists.
  void showDecimalsAndSign(const TerminalSettings& s, bool fixed);
  // A ticked carton box holds the price's decimal places at "0".
  void showCartonMode(bool ticked);
  // What the write takes from the controls rather than from the settings.
  TerminalSettingsControls controls() const;

  QLabel* Label_ver;
  QLabel* Poc_kariet;
  QLabel* Poc_zostava;
  QComboBox* CB_pocet;
  QComboBox* CB_cena;
  QLineEdit* Edit_auto;
  QComboBox* CB_sign;
  QCheckBox* ChBox_karton;
  QCheckBox* ChBox_sumar;
  QCheckBox* ChBox_zmen_cenu;
  QCheckBox* CheckBox1;
  QCheckBox* ChBox_vaha;
  QGroupBox* GroupBox_vaha;
  QComboBox* CB_kodvaha_zac;
  QComboBox* CB_kodvaha_end;
  QComboBox* CB_vahazac;
  QComboBox* CB_vahaend;
  QComboBox* CB_pdmvaha;
  QLineEdit* Edit_id1;
  QLineEdit* Edit_id2;
  QLineEdit* Edit_id3;
  QPushButton* BitBtn_VycKonfig;
  QLabel* Label_usbhdd;
  QLineEdit* Edit_usbhdd;

 protected:
  void build() override;
};

}  // namespace nodra
