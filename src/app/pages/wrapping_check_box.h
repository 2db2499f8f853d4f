#pragma once
// A check box whose caption wraps onto further lines when the page is too narrow for it in one.
#include <QCheckBox>

namespace nodra {

class WrappingCheckBox : public QCheckBox {
 public:
  explicit WrappingCheckBox(const QString& text, QWidget* parent = nullptr);

  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Where the caption goes for a box `width` pixels wide, and the width left for it.
  int captionIndent() const;
  QRect captionRect(int width) const;
};

}  // namespace nodra
