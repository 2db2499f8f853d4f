#pragma once
// Where the program keeps its settings, work files and default outputs.
#include <filesystem>
#include <optional>
#include <string>

namespace nodra {

// NODRA3000_HOME when set; the executable's folder when a settings file already stands there (a portable
// install) and the folder is the user's; otherwise $XDG_DATA_HOME/nodra3000, by default
// ~/.local/share/nodra3000 of $HOME or, without it, of the home the password database gives. Created on first
// use. Never a folder of another user or one anybody may write into, and never one whose name the settings
// cannot hold (it has no Windows-1250 form): then nothing, and `problem` says why (Windows-1250).
std::optional<std::filesystem::path> findExeFolder(const std::filesystem::path& executable, std::string& problem);

}  // namespace nodra
