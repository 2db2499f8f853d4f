#include "app/pages/xml_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "settings/local_settings.h"

namespace nodra {

XmlPage::XmlPage(QWidget* parent) : QWidget(parent) {
  auto* outer = new QVBoxLayout(this);
  GroupBox2 = new QGroupBox(qs("Výstupne data"), this);
  auto* g2 = new QGridLayout(GroupBox2);
  Label10 = new QLabel(qs("Všetky sklady"), GroupBox2);
  Edit_XMLout = new QLineEdit(GroupBox2);
  Btn_cestaXMLout = new QPushButton(qs("..."), GroupBox2);
  Btn_cestaXMLout->setFixedWidth(24);
  g2->addWidget(Label10, 0, 0);
  g2->addWidget(Edit_XMLout, 0, 1);
  g2->addWidget(Btn_cestaXMLout, 0, 2);
  GroupBox4 = new QGroupBox(qs("Použiť XML formát"), this);
  auto* g4 = new QHBoxLayout(GroupBox4);
  RadioButton3 = new QRadioButton(qs("ÁNO"), GroupBox4);
  RadioButton4 = new QRadioButton(qs("NIE"), GroupBox4);
  RadioButton3->setAutoExclusive(false);
  RadioButton4->setAutoExclusive(false);
  g4->addWidget(RadioButton3);
  g4->addWidget(RadioButton4);
  g4->addStretch();
  Button1 = new QPushButton(qs("Button1"), this);
  Button1->hide();
  outer->addWidget(GroupBox2);
  outer->addWidget(GroupBox4);
  outer->addStretch();
}

void XmlPage::showReadOutMode(int mode) {
  if (mode != kXml && mode != kXmlRefused) return;
  RadioButton3->setChecked(mode == kXml);
  RadioButton4->setChecked(mode == kXmlRefused);
}

void XmlPage::showChosenReadOutMode(int mode) {
  RadioButton3->setChecked(mode == kXml);
  RadioButton4->setChecked(mode != kXml);
  if (mode != kXml && mode != kXmlRefused) return;
  for (QWidget* w :
       {static_cast<QWidget*>(Edit_XMLout), static_cast<QWidget*>(Label10), static_cast<QWidget*>(Btn_cestaXMLout)}) {
    w->setEnabled(mode == kXml);
  }
}

}  // namespace nodra
