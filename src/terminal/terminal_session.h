#pragma once
// What every command that touches the terminal works with: who watches it, where the drives come from,
// and what the last detection found (kept until the next one, as some writers use it before detecting).
#include <functional>
#include <optional>

#include "platform/ui.h"
#include "platform/volumes.h"
#include "terminal/terminal_detection.h"

namespace nodra {

struct TerminalSession {
  TerminalSession(Ui& watcher, VolumeSource& source, std::optional<TerminalDrive> found = std::nullopt)
      : ui(watcher), volumes(source), drive(std::move(found)) {}

  Ui& ui;
  VolumeSource& volumes;
  std::optional<TerminalDrive> drive;
  // Told of every detection's result, for a window that follows the terminal between commands.
  std::function<void(const std::optional<TerminalDrive>&)> detected;

  // Detects anew and tells the user; the result stays in `drive`.
  const std::optional<TerminalDrive>& check() {
    drive = CheckTerminal(volumes, ui);
    if (detected) detected(drive);
    return drive;
  }
};

}  // namespace nodra
