#pragma once
// Deterministic PC goods lists in each input layout, for the fill benchmark: the same seed gives the same
// bytes on every machine. Windows-1250 names, CR LF line ends, as the shops' exports have them.
#include <cstddef>
#include <filesystem>
#include <string>

#include "settings/local_settings.h"

namespace nodra::bench {

enum class Layout { Delimited, Fixed, Casio1, Old };

const char* layoutName(Layout layout);
// Default settings with only `layout` chosen.
LocalSettings settingsFor(Layout layout);
// Writes `lines` goods lines; returns the file's size in bytes.
std::size_t generateInput(Layout layout, std::size_t lines, const std::filesystem::path& file);

}  // namespace nodra::bench
