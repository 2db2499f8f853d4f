#pragma once
// What every command that touches the terminal works with: who watches it, where the drives come from,
// and what the last detection found (kept until the next one, as some writers use it before detecting).
#include <optional>

#include "platform/ui.h"
#include "platform/volumes.h"
#include "terminal/terminal_detection.h"

namespace nodra {

struct TerminalSession {
  Ui& ui;
  VolumeSource& volumes;
  std::optional<TerminalDrive> drive;

  // Detects anew and tells the user; the result stays in `drive`.
  const std::optional<TerminalDrive>& check() {
    drive = CheckTerminal(volumes, ui);
    return drive;
  }
};

}  // namespace nodra
