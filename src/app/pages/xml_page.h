#pragma once
// The "XML" page: the XML output folder and whether read-out writes XML.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace nodra {

class XmlPage : public QWidget {
 public:
  explicit XmlPage(QWidget* parent = nullptr);

  // The read-out mode (ReadOutMode) as loaded: the two buttons show it when it is one of theirs.
  void showReadOutMode(int mode);
  // The mode as chosen on this page or on the IMPORT / EXPORT page: the buttons follow it, and a choice made
  // here enables the output folder for XML and disables it for no XML.
  void showChosenReadOutMode(int mode);

  QGroupBox* GroupBox2;
  QLabel* Label10;
  QLineEdit* Edit_XMLout;
  QPushButton* Btn_cestaXMLout;
  QGroupBox* GroupBox4;
  QRadioButton* RadioButton3;
  QRadioButton* RadioButton4;
  QPushButton* Button1;
};

}  // namespace nodra
