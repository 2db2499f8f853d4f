#pragma once
// Paths on the terminal's card, written the Windows way ("DATA\DATA_OUT.TXT") and resolved against the
// volume's root. The card does not distinguish case, but Linux may mount it case-sensitively, so each
// component is matched here without regard to case.
#include <filesystem>
#include <string_view>

namespace nodra {

// `relative` is Windows-1250 text with "\" (or "/") separators; ".." never climbs above the root.
// Components that exist are taken in their on-disk spelling (an exact match first, else the smallest name
// that matches ignoring case); the first missing component and everything after it keep the spelling
// given, so creating it uses that spelling.
std::filesystem::path resolveOnVolume(const std::filesystem::path& root, std::string_view relative);

}  // namespace nodra
