#pragma once
// What the read-outs show, shared by the formatted read-out, the raw copy, the XML writers and the commands
// (Windows-1250): each text in one place.
#include <string>
#include <string_view>

#include "platform/file_error.h"
#include "platform/integer_text.h"
#include "platform/ui.h"

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

// A failure of the read-out, in a box of the window under "Chyba: vyčítaj.".
inline Message readOutFailure(std::string text) {
  return failureMessage(std::move(text), kReadOutFailed, Icon::Warning).owned();
}

// A failure while the store is moved, under "Chyba pri prenose údajov.".
inline Message transferFailure(std::string text) {
  return failureMessage(std::move(text), kTransferError, Icon::Warning).owned();
}

// A price or quantity beyond the 32-bit range: the item is kept with 0 there.
inline Message badRecordMessage(std::string_view code) {
  std::string text = "Nekorektny zaznam na polozke s kodom ";
  text += code;
  text += "\nkarta bude ulozene s nulovou hodnotou";
  return failureMessage(std::move(text), {}, Icon::Warning).notOnTop();
}

// A file of the read-out that would not open, with the reason the system gave.
inline std::string notOpenedText(const std::string& path, const FileError& error) {
  return withReason("Subor " + path + " sa nepodarilo otvorit", error);
}

// An input of the read-out (a store, its work copy) that would not open.
inline Message inputNotOpened(const std::string& path, const FileError& error) {
  return transferFailure(notOpenedText(path, error));
}

// An output file that cannot be created: the Abort dialog.
inline Message outputNotOpened(const std::string& path, const FileError& error) {
  return abortMessage(notOpenedText(path, error));
}

}  // namespace nodra
