#include "platform/exe_folder.h"

#include <cstdlib>
#include <system_error>

namespace nodra {
namespace fs = std::filesystem;

fs::path findExeFolder(const fs::path& executable) {
  std::error_code ec;
  if (const char* home = std::getenv("NODRA3000_HOME"); home != nullptr && *home != '\0') {
    fs::create_directories(home, ec);
    return fs::path(home);
  }
  fs::path folder = executable.parent_path();
  fs::path oldName = executable;
  oldName.replace_extension(".ini");
  if (fs::exists(folder / "nodra3000.ini", ec) || fs::exists(oldName, ec)) return folder;
  fs::path data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
    data = xdg;
  } else if (const char* userHome = std::getenv("HOME"); userHome != nullptr && *userHome != '\0') {
    data = fs::path(userHome) / ".local" / "share";
  } else {
    data = fs::temp_directory_path(ec);
  }
  fs::path result = data / "nodra3000";
  fs::create_directories(result, ec);
  return result;
}

}  // namespace nodra
