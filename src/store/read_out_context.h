#pragma once
// What a read-out command works with; the window builds one for each command from its controls.
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "settings/local_settings.h"
#include "store/second_pass_carry.h"
#include "terminal/terminal_session.h"

namespace nodra {

struct ReadOutContext {
  TerminalSession& session;
  // As the controls hold them at the moment of the run (the field order straight from the lists).
  const LocalSettings& settings;
  std::string exeFolder;  // Windows-1250, ends with "/"
  // Refreshes the terminal settings and the NODRA page; leaves "Konfigurácia vyčítaná" in the status bar.
  std::function<void()> readTerminalSettings;
  bool nonZeroOnly = false;
  unsigned runningItemCounter = 0;  // the XML writers' counter
  // When the command began: the archive folder is named after it.
  std::chrono::system_clock::time_point started = std::chrono::system_clock::now();
  // The code table read backwards, read once per command when names are translated back.
  std::optional<std::array<unsigned char, 256>> namesBack = std::nullopt;
  // Set for a command that reads the main store a second time for the non-zero file: the first conversion
  // then writes that file alongside, and leaves it in `carry`.
  bool carryNonZero = false;
  std::unique_ptr<SecondPassCarry> carry = nullptr;
};

}  // namespace nodra
