#include "terminal/terminal_drive.h"

#include "platform/path_text.h"
#include "platform/volume_path.h"

namespace nodra {

std::filesystem::path TerminalDrive::path(std::string_view relative) const { return resolveOnVolume(root, relative); }

std::string TerminalDrive::displayPath(std::string_view relative) const {
  std::string text = toDisplayText(root);
  if (text.empty() || text.back() != '/') text.push_back('/');
  for (char c : relative) text.push_back(c == '\\' ? '/' : c);
  return text;
}

}  // namespace nodra
