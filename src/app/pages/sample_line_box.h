#pragma once
// The one-line sample of the fixed-length input file, in which spans are selected with the mouse.
#include <QTextEdit>
#include <functional>

namespace nodra {

class SampleLineBox : public QTextEdit {
 public:
  explicit SampleLineBox(QWidget* parent = nullptr);

  // Runs after a left press has placed the caret.
  std::function<void()> onMouseDown;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace nodra
