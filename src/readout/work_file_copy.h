#pragma once
// The read-out's work copy of a terminal store ("tmp_in.txt" beside the program). A plain copy: the work file
// is rewritten by every run and needs neither the atomic replacement nor a flush to the medium.
#include <filesystem>

#include "platform/file_place.h"

namespace nodra {

// `error` names the source when the store cannot be read, the work file when it cannot be written.
bool copyToWorkFile(const FilePlace& source, const std::filesystem::path& workFile, FileError& error);

// Creates a work file anew: whatever stood at its name (an old copy, a pipe, a link) is removed first, so the
// file is always a fresh regular file of the usual mode.
UniqueFd createWorkFile(const std::filesystem::path& workFile, FileError& error);

}  // namespace nodra
