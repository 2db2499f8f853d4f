#include "app/pages/flash_page.h"

#include <QGridLayout>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QVBoxLayout>

#include "app/qt_text.h"

namespace nodra {

FlashPage::FlashPage(QWidget* parent) : QWidget(parent) {
  auto* outer = new QVBoxLayout(this);
  GroupBox3 = new QGroupBox(qs("Nahranie programu"), this);
  auto* g = new QGridLayout(GroupBox3);
  Edit_program = new QLineEdit(qs("Nalistuj cestu k programu "), GroupBox3);
  Button21 = new QPushButton(qs("..."), GroupBox3);
  Button21->setFixedWidth(24);
  BitBtn_napln = new QPushButton(qs("NAHRAJ PROGRAM"), GroupBox3);
  QFont bold = BitBtn_napln->font();
  bold.setBold(true);
  BitBtn_napln->setFont(bold);
  BitBtn_napln->setStyleSheet(QStringLiteral("color: #800000"));
  Memo1 = new QPlainTextEdit(GroupBox3);
  Memo1->setReadOnly(true);
  Memo1->setFrameStyle(QFrame::NoFrame);
  Memo1->setPlainText(
      qs("Ak chcete nahrať nový program do NODRA\npripojte terminál k PC\na zvoľte v ponuke NODRA voľbu:\n\n"
         "DALSIE MENU --> NASTAVENIE --> NAHRAJ PROGRAM\n\n"));
  QTextCursor all(Memo1->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  all.mergeBlockFormat(centred);
  g->addWidget(Edit_program, 0, 0);
  g->addWidget(Button21, 0, 1);
  g->addWidget(BitBtn_napln, 1, 0, 1, 2);
  g->addWidget(Memo1, 2, 0, 1, 2);
  outer->addWidget(GroupBox3);
  outer->addStretch();
}

}  // namespace nodra
