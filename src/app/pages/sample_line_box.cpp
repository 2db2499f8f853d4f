#include "app/pages/sample_line_box.h"

#include <QMouseEvent>

namespace nodra {

SampleLineBox::SampleLineBox(QWidget* parent) : QTextEdit(parent) {}

void SampleLineBox::mousePressEvent(QMouseEvent* event) {
  QTextEdit::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && onMouseDown) onMouseDown();
}

}  // namespace nodra
