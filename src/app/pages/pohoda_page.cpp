#include "app/pages/pohoda_page.h"

#include <QVBoxLayout>

#include "app/qt_text.h"

namespace nodra {

void PohodaPage::build() {
  auto* layout = new QVBoxLayout(this);
  Button3 = new QPushButton(qs("EXPORT ZASOBY"), this);
  Button2 = new QPushButton(qs("XML PARSE"), this);
  Button4 = new QPushButton(qs("IMPORT PRIJEMOK"), this);
  Button4->hide();
  layout->addWidget(Button3);
  layout->addWidget(Button2);
  layout->addWidget(Button4);
  layout->addStretch();
}

}  // namespace nodra
