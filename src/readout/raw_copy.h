#pragma once
// The raw read-out: a terminal store copied unchanged into the folder of path_suroveData.
#include <string>
#include <string_view>

#include "store/read_out_context.h"

namespace nodra {

// Where the raw copy of `name` goes: the folder part of path_suroveData (its last component counts as a file
// name even when it names a folder), then the name; without a folder part the program's folder. Windows-1250.
std::string rawCopyTarget(std::string_view suroveDataPath, std::string_view exeFolder, std::string_view name);

// Copies DATA\<name> from the last detected drive, replacing the target atomically. A failure is reported in a
// box naming the file; a missing VP_OUT.TXT is no failure (the terminal creates it only when used) and
// gives an empty copy.
// False when the file was not copied and the user was told.
bool CopyRawStore(ReadOutContext& ctx, std::string_view name);

}  // namespace nodra
