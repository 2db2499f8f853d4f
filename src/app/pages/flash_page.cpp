#include "app/pages/flash_page.h"

#include <QApplication>
#include <QGridLayout>
#include <QVBoxLayout>

#include "app/qt_text.h"

namespace nodra {

void FlashPage::build() {
  auto* outer = new QVBoxLayout(this);
  GroupBox3 = new QGroupBox(qs("Nahranie programu"), this);
  auto* g = new QGridLayout(GroupBox3);
  Edit_program = new QLineEdit(qs("Nalistuj cestu k programu "), GroupBox3);
  Button21 = new QPushButton(qs("..."), GroupBox3);
  Button21->setFixedWidth(24);
  BitBtn_napln = new QPushButton(qs("NAHRAJ PROGRAM"), GroupBox3);
  // The application's face in bold, not the window's small one: the command stands out from the page.
  QFont bold = QApplication::font(BitBtn_napln);
  bold.setBold(true);
  BitBtn_napln->setFont(bold);
  BitBtn_napln->setStyleSheet(QStringLiteral("color: #800000"));
  // A plain-text editor ignores paragraph alignment; a label centres every line.
  Memo1 =
      new QLabel(qs("Ak chcete nahrať nový program do NODRA\npripojte terminál k PC\na zvoľte v ponuke NODRA voľbu:\n\n"
                    "DALSIE MENU --> NASTAVENIE --> NAHRAJ PROGRAM\n\n"),
                 GroupBox3);
  Memo1->setTextFormat(Qt::PlainText);
  Memo1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Memo1->setTextInteractionFlags(Qt::TextSelectableByMouse);
  g->addWidget(Edit_program, 0, 0);
  g->addWidget(Button21, 0, 1);
  g->addWidget(BitBtn_napln, 1, 0, 1, 2);
  g->addWidget(Memo1, 2, 0, 1, 2);
  outer->addWidget(GroupBox3);
  outer->addStretch();
}

}  // namespace nodra
