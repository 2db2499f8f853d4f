#pragma once
// The terminal's card as found by detection: the root folder its Windows paths resolve against.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/file_place.h"

namespace nodra {

struct TerminalDrive {
  std::filesystem::path root;
  std::string label;  // what the status bar shows for it (Windows-1250)

  // A path written the terminal's way, "DATA\DATA_OUT.TXT", on the card: matched without regard to case,
  // never through a link.
  FilePlace place(std::string_view relative) const { return FilePlace::onCard(root, relative); }
  // The same path as the user reads it in messages (Windows-1250, "/" separators).
  std::string displayPath(std::string_view relative) const { return place(relative).displayText(); }
};

// Tells one card from another at the same place: its root and its settings file's identity on the medium.
// Empty when the settings file cannot be opened.
std::string cardIdentity(const TerminalDrive& drive);

inline constexpr std::string_view kTerminalConfigFile = "CONFIG\\NODRA3000.ini";

// A card taken away since the detection can leave the empty folder it was mounted on: nothing may be written
// there and pass for delivered. False (and why) when the terminal's settings file is gone.
inline bool cardStillThere(const TerminalDrive& drive, FileError& error) {
  error = inspectPlace(drive.place(kTerminalConfigFile));
  return !error.failed();
}

inline constexpr std::string_view kTerminalWifiFile = "CONFIG\\wifi.ini";

}  // namespace nodra
