#pragma once
// "nodra_mmc_trm O /check": the goods list checked as the local settings say, the report on standard output.
// It needs no terminal and no display, takes no lock and writes nothing, so it may run beside the window.
#include <filesystem>
#include <string_view>

namespace nodra {

// Whether the command line asks for the check: the fill's letter, then "/check".
bool isInputCheck(int argc, const char* const argv[]);

// Prints one line per problem and the closing counts (UTF-8); 0 when the list has no problem, 1 otherwise.
int runInputCheck(const std::filesystem::path& executable, const std::filesystem::path& programFolder);

}  // namespace nodra
