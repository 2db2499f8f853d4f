#include "app/pages/sample_line_box.h"

#include <QFontDatabase>
#include <QMouseEvent>

namespace nodra {

SampleLineBox::SampleLineBox(QWidget* parent) : QTextEdit(parent) {}

void SampleLineBox::mousePressEvent(QMouseEvent* event) {
  QTextEdit::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && onMouseDown) onMouseDown();
}

bool SampleLineBox::event(QEvent* event) {
  if (event->type() == QEvent::Polish) setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  return QTextEdit::event(event);
}

}  // namespace nodra
