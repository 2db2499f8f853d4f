#pragma once
// What a fill works with; the window builds one after it found the terminal and read its settings.
#include <string>

#include "settings/local_settings.h"
#include "terminal/terminal_session.h"

namespace nodra {

struct FillContext {
  TerminalSession& session;  // its drive is the terminal found just before
  // As the controls hold them at the moment of the run (the field order straight from the lists).
  const LocalSettings& settings;
  std::string exeFolder;  // Windows-1250, ends with "/"
  // The terminal's decimals as just read (that read gives 2 and 3 under CASIO 1).
  int PDM_PRICE = 2;
  int PDM_COUNT = 2;
};

}  // namespace nodra
