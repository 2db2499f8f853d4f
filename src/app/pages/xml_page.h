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
