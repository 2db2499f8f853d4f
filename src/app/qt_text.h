#pragma once
// The window boundary: the program's Windows-1250 texts to and from Qt's Unicode strings.
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace nodra {

QString qs(std::string_view cp1250Text);
// Characters without a Windows-1250 form become "?".
std::string fromQs(const QString& text);
// Empty when a character has no Windows-1250 form.
std::optional<std::string> fromQsExact(const QString& text);

}  // namespace nodra
