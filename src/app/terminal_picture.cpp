#include "app/terminal_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace nodra {

namespace {
void paintTerminal(QPainter& p, int width, int height) {
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body(4, 4, width - 8, height - 8);
  QLinearGradient shade(body.topLeft(), body.topRight());
  shade.setColorAt(0, QColor(60, 64, 72));
  shade.setColorAt(0.5, QColor(96, 100, 110));
  shade.setColorAt(1, QColor(52, 55, 62));
  QPainterPath outline;
  outline.addRoundedRect(body, 22, 22);
  p.fillPath(outline, shade);
  p.setPen(QPen(QColor(30, 30, 34), 2));
  p.drawPath(outline);

  // Scanner window at the top.
  p.setBrush(QColor(150, 20, 20));
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(QRectF(body.center().x() - 25, body.top() + 8, 50, 8), 3, 3);

  // Display.
  const QRectF screen(body.left() + 14, body.top() + 28, body.width() - 28, body.height() * 0.36);
  p.setBrush(QColor(20, 20, 24));
  p.drawRoundedRect(screen.adjusted(-4, -4, 4, 4), 6, 6);
  p.setBrush(QColor(170, 200, 150));
  p.drawRect(screen);
  p.setPen(QColor(30, 50, 30));
  QFont f = p.font();
  f.setPixelSize(11);
  f.setBold(true);
  p.setFont(f);
  p.drawText(screen.adjusted(4, 4, -4, -4), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("NODRA3000"));
  f.setBold(false);
  f.setPixelSize(9);
  p.setFont(f);
  p.drawText(screen.adjusted(4, 22, -4, -4), Qt::AlignLeft | Qt::AlignTop,
             QStringLiteral("1 INVENTURA\n2 PRIJEM\n3 VYDAJ\n4 PRENOS UDAJOV"));

  // Keypad: three columns of four keys, with the yellow key below.
  const double keyTop = screen.bottom() + 18;
  const double keyW = (body.width() - 40) / 3.0;
  const double keyH = 18;
  static const char* labels[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 12; ++i) {
    const int column = i % 3, row = i / 3;
    QRectF key(body.left() + 12 + column * (keyW + 8), keyTop + row * (keyH + 8), keyW, keyH);
    p.setBrush(QColor(225, 225, 228));
    p.drawRoundedRect(key, 5, 5);
    p.setPen(QColor(40, 40, 40));
    p.drawText(key, Qt::AlignCenter, QString::fromLatin1(labels[i]));
    p.setPen(Qt::NoPen);
  }
  const QRectF yellow(body.left() + 20, keyTop + 4 * (keyH + 8) + 4, body.width() - 40, keyH);
  p.setBrush(QColor(240, 200, 30));
  p.drawRoundedRect(yellow, 6, 6);
}
}  // namespace

QPixmap drawTerminalPicture(int width, int height, qreal devicePixelRatio) {
  QPixmap pixmap(qRound(width * devicePixelRatio), qRound(height * devicePixelRatio));
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  paintTerminal(p, width, height);
  return pixmap;
}

void TerminalPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  paintTerminal(p, width(), height());
}

}  // namespace nodra
