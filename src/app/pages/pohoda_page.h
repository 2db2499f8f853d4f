#pragma once
// The "POHODA " page: the accounting program's stock data pack and its XML import. Its tab is kept hidden.
#include <QPushButton>
#include <QWidget>

#include "app/pages/lazy_page.h"

namespace nodra {

class PohodaPage : public LazyPage {
 public:
  explicit PohodaPage(QWidget* parent = nullptr) : LazyPage(parent) {}

  QPushButton* Button3;  // "EXPORT ZASOBY"
  QPushButton* Button2;  // "XML PARSE"
  QPushButton* Button4;  // "IMPORT PRIJEMOK", never shown

 protected:
  void build() override;
};

}  // namespace nodra
