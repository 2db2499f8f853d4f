#pragma once
// The terminal's card as found by detection: the root folder its Windows paths resolve against.
#include <filesystem>
#include <string>
#include <string_view>

namespace nodra {

struct TerminalDrive {
  std::filesystem::path root;
  std::string label;  // what the status bar shows for it (Windows-1250)

  // A path written the terminal's way, "DATA\DATA_OUT.TXT", resolved on the card without regard to case.
  std::filesystem::path path(std::string_view relative) const;
  // The same path as the user reads it in messages (Windows-1250, "/" separators).
  std::string displayPath(std::string_view relative) const;
};

inline constexpr std::string_view kTerminalConfigFile = "CONFIG\\NODRA3000.ini";
inline constexpr std::string_view kTerminalWifiFile = "CONFIG\\wifi.ini";

}  // namespace nodra
