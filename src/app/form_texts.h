#pragma once
// Texts that handlers in more than one of the window's files show.
#include <string_view>

namespace nodra {

// The caption of the window's own boxes, and the application title at start.
inline constexpr std::string_view kProgramName = "NODRA3000";
inline constexpr std::string_view kConfigWrittenStatus = "Konfigurácia zapísaná";
// Panel 0 before a detection found a terminal, and after it went away.
inline constexpr std::string_view kNoDriveText = "NODRA";

}  // namespace nodra
