#pragma once
// Paths as the program holds them (Windows-1250 text, as stored in the settings) and as the file system
// takes them (UTF-8 bytes on Linux).
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace nodra {

std::filesystem::path toFsPath(std::string_view pathText);

// Empty when a character of the name has no Windows-1250 form.
std::optional<std::string> toPathText(const std::filesystem::path& path);
// For messages: characters without a Windows-1250 form show as "?".
std::string toDisplayText(const std::filesystem::path& path);

// The folder part: the text before the last "/", except that the root keeps its "/"; "" without any "/".
std::string folderPart(std::string_view pathText);
// `name` in the folder part of a path setting (its last component counts as a file name, even when it names
// a folder); a setting without a folder part means `programFolder` (Windows-1250, ending with "/").
std::string inFolderOf(std::string_view pathSetting, std::string_view programFolder, std::string_view name);

// The text after the last "/".
std::string fileNamePart(std::string_view pathText);

}  // namespace nodra
