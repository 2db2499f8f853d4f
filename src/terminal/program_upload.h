#pragma once
// Copying a new terminal program (normally *.SHX) into the card's PROGRAM folder; the terminal installs it.
#include <string>

#include "terminal/terminal_session.h"

namespace nodra {

// "NAHRAJ PROGRAM": `programPath` is the Windows-1250 text of the program box. Detects the terminal, creates
// PROGRAM when missing, copies the file over any namesake atomically and tells the user. True when copied.
bool uploadProgram(TerminalSession& session, const std::string& programPath);

}  // namespace nodra
