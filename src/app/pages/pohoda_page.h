#pragma once
// The "POHODA " page: the accounting program's stock data pack and its XML import. Its tab is kept hidden.
#include <QPushButton>
#include <QWidget>

namespace nodra {

class PohodaPage : public QWidget {
 public:
  explicit PohodaPage(QWidget* parent = nullptr);

  QPushButton* Button3;  // "EXPORT ZASOBY"
  QPushButton* Button2;  // "XML PARSE"
  QPushButton* Button4;  // "IMPORT PRIJEMOK", never shown
};

}  // namespace nodra
