#pragma once
// The "NODRA" page: the terminal's own settings. Controls only; the form handles their events.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace nodra {

class TerminalPage : public QWidget {
 public:
  explicit TerminalPage(QWidget* parent = nullptr);

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
};

}  // namespace nodra
