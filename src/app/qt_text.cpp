#include "app/qt_text.h"

#include "platform/cp1250.h"

namespace nodra {

QString qs(std::string_view cp1250Text) {
  QString out;
  out.reserve(static_cast<qsizetype>(cp1250Text.size()));
  for (char c : cp1250Text) out.append(QChar(static_cast<char16_t>(cp1250::toUnicode(static_cast<unsigned char>(c)))));
  return out;
}

std::string fromQs(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar ch : text) {
    auto one = cp1250::fromUtf8(QString(ch).toStdString());
    out.push_back(one && one->size() == 1 ? (*one)[0] : '?');
  }
  return out;
}

std::optional<std::string> fromQsExact(const QString& text) { return cp1250::fromUtf8(text.toStdString()); }

}  // namespace nodra
