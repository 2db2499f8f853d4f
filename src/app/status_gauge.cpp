#include "app/status_gauge.h"

#include <QPainter>

namespace nodra {

StatusGauge::StatusGauge(QWidget* parent) : QWidget(parent) { setFixedHeight(17); }

int StatusGauge::percent() const {
  if (maximum_ <= 0) return 0;
  return static_cast<int>(static_cast<long long>(position_) * 100 / maximum_);
}

void StatusGauge::setMaximum(int maximum) {
  int before = percent();
  maximum_ = maximum;
  position_ = std::clamp(position_, 0, std::max(maximum_, 0));
  if (percent() != before) update();
}

void StatusGauge::setPosition(int position) {
  int before = percent();
  position_ = std::clamp(position, 0, std::max(maximum_, 0));
  // Repaint only when the shown percentage changes, as the gauge only shows that.
  if (percent() != before) update();
}

void StatusGauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  p.fillRect(r, QColor(255, 255, 225));
  int filled = r.width() * percent() / 100;
  p.fillRect(QRect(r.left(), r.top(), filled, r.height()), QColor(0, 0, 128));
  QFont f = font();
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::red);
  p.drawText(r, Qt::AlignCenter, QString::number(percent()) + QLatin1Char('%'));
  p.setPen(Qt::gray);
  p.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace nodra
