#pragma once
// Our own drawing of the hand-held terminal: the main view's picture and the window icon's fallback.
#include <QPixmap>
#include <QWidget>

namespace nodra {

// Drawn for `devicePixelRatio` device pixels per logical pixel, so that it stays sharp on a scaled screen.
QPixmap drawTerminalPicture(int width, int height, qreal devicePixelRatio = 1.0);

// The main view's picture: painted at the screen's own resolution every time it is shown.
class TerminalPicture : public QWidget {
 public:
  explicit TerminalPicture(QWidget* parent = nullptr) : QWidget(parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace nodra
