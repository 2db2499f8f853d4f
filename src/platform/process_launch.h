#pragma once
// Starting another program and leaving it to run on its own.
#include <string>
#include <vector>

namespace nodra {

// Starts `arguments[0]` with `arguments` as its argument vector: no shell, nothing is split, quoted or
// expanded, so no value can smuggle in a command. A name without "/" is looked up in PATH. The bytes are
// handed over as they are (convert them to the system's text first). Does not wait for the program;
// true when it was started, false when it could not be (missing, not executable, empty vector).
bool launchProgram(const std::vector<std::string>& arguments);

}  // namespace nodra
