#pragma once
// Qt's own texts (standard buttons, file dialogs, edit menus) in Slovak, as the rest of the window speaks.
class QCoreApplication;
class QTranslator;

namespace nodra {

// Loads Qt's Slovak translation from Qt's translations folder and installs it for `app`, which owns it.
// Nothing when it is not installed there: Qt's texts then stay in English.
QTranslator* installQtSlovak(QCoreApplication& app);

}  // namespace nodra
