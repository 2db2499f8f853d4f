#pragma once
// Our own drawing of the hand-held terminal for the main view.
#include <QPixmap>

namespace nodra {

QPixmap drawTerminalPicture(int width, int height);

}  // namespace nodra
