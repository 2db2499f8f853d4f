#pragma once
// The "FLASH" page: copying a terminal program onto the card.
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
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
  QPlainTextEdit* Memo1;
};

}  // namespace nodra
