#pragma once
// The one-line sample of the fixed-length input file, in which spans are selected with the mouse. It shows
// the sample in the fixed-pitch face, taken when the box is first polished (before it is first shown): a run
// that never shows it does not load the face.
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
  bool event(QEvent* event) override;
};

}  // namespace nodra
