#pragma once
// Finding the terminal: the first removable volume, in drive-letter order, with a readable medium and the
// terminal's settings file on it. Nothing is cached: every terminal operation asks again.
#include <optional>

#include "platform/ui.h"
#include "platform/volumes.h"
#include "terminal/terminal_drive.h"

namespace nodra {

std::optional<TerminalDrive> DetectTerminal(VolumeSource& volumes);

// DetectTerminal, then tells the user: the drive in panel 0, or the not-connected message and status.
std::optional<TerminalDrive> CheckTerminal(VolumeSource& volumes, Ui& ui);

}  // namespace nodra
