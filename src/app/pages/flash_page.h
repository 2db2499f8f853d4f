#pragma once
// The "FLASH" page: copying a terminal program onto the card.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "app/pages/lazy_page.h"

namespace nodra {

class FlashPage : public LazyPage {
 public:
  explicit FlashPage(QWidget* parent = nullptr) : LazyPage(parent) {}

  QGroupBox* GroupBox3;
  QLineEdit* Edit_program;
  QPushButton* Button21;
  QPushButton* BitBtn_napln;
  QLabel* Memo1;  // the instructions, centred, selectable

 protected:
  void build() override;
};

}  // namespace nodra
