#include "app/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace nodra {

namespace {
// Qt asks for the standard buttons' texts ("&Yes", "Cancel", ...) under the context QPlatformTheme; the Slovak
// catalogue files them under QDialogButtonBox, where older Qt asked. Without the second look the message boxes
// would say "Yes" and "No" beside Slovak texts.
class QtSlovak : public QTranslator {
 public:
  explicit QtSlovak(QObject* parent) : QTranslator(parent) {}

  QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override {
    QString text = QTranslator::translate(context, sourceText, disambiguation, n);
    if (text.isEmpty() && qstrcmp(context, "QPlatformTheme") == 0) {
      text = QTranslator::translate("QDialogButtonBox", sourceText, disambiguation, n);
    }
    return text;
  }
};
}  // namespace

QTranslator* installQtSlovak(QCoreApplication& app) {
  auto* translator = new QtSlovak(&app);
  if (!translator->load(QStringLiteral("qtbase_sk"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return nullptr;
  }
  return translator;
}

}  // namespace nodra
