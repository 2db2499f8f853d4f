#pragma once
// Texts the read-out shows, shared by the formatted read-out, the raw copy and the commands (Windows-1250).
#include <string>
#include <string_view>

#include "platform/integer_text.h"

namespace nodra {

inline constexpr std::string_view kTransferRunning = "Čakajte prosím prebieha prenos DAT ";
inline constexpr std::string_view kDataReadOut = "Dáta vyčítané";
inline constexpr std::string_view kReadOutFailed = "Chyba: vyčítaj.";
inline constexpr std::string_view kTransferError = "Chyba pri prenose údajov.";
inline constexpr std::string_view kApplicationTitle = "NODRA3000MMC";

// The platform's copy took paths of limited length; a longer one is refused rather than cut.
inline std::string pathTooLongText(std::string_view path, std::size_t limit) {
  std::string text = "Cesta k súboru je dlhšia ako ";
  text += intToText(static_cast<long long>(limit));
  text += " znakov:\r\n";
  text += path;
  return text;
}

}  // namespace nodra
