#pragma once
// The "FLASH" page: copying a terminal program onto the card.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace nodra {

class FlashPage : public QWidget {
 public:
  explicit FlashPage(QWidget* parent = nullptr);

  QGroupBox* GroupBox3;
  QLineEdit* Edit_program;
  QPushButton* Button21;
  QPushButton* BitBtn_napln;
  QLabel* Memo1;  // the instructions, centred, selectable
};

}  // namespace nodra
