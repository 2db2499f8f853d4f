#pragma once
// Where the program keeps its settings, work files and default outputs.
#include <filesystem>

namespace nodra {

// NODRA3000_HOME when set; the executable's folder when a settings file already stands there (a portable
// install); otherwise $XDG_DATA_HOME/nodra3000 (default ~/.local/share/nodra3000), created on first use.
// `executable` is the program's own path; `oldSettingsName` the old-named settings file ("<program>.ini").
std::filesystem::path findExeFolder(const std::filesystem::path& executable);

}  // namespace nodra
