#include "terminal/terminal_drive.h"

#include "platform/path_text.h"
#include "platform/volume_path.h"

namespace nodra {

std::filesystem::path TerminalDrive::path(std::string_view relative) const { return resolveOnVolume(root, relative); }

std::string TerminalDrive::displayPath(std::string_view relative) const {
  // The card's own spelling where the file exists, the program's where it does not.
  return toDisplayText(path(relative));
}

}  // namespace nodra
