#pragma once
// The command line's own texts: the usage a batch run shows for a letter it does not know, and the answers to
// --help and --version. Those two are answered before anything else, so they need no display, no terminal
// and no lock, and a running instance does not stop them.
#include <optional>

namespace nodra {

// Windows-1250, as the usage box shows it.
const char* usageText();

// When the first argument is exactly "--help" or "--version": writes the answer to standard output (UTF-8)
// and gives the exit code. Nothing for every other command line.
std::optional<int> answerInfoRequest(int argc, const char* const argv[]);

}  // namespace nodra
