#pragma once
// The read-out's work copy of a terminal store ("tmp_in.txt" beside the program). A plain copy: the work file
// is rewritten by every run and needs neither the atomic replacement nor a flush to the medium.
#include <filesystem>

#include "platform/file_place.h"

namespace nodra {

// `error` names the source when the store cannot be read, the work file when it cannot be written.
bool copyToWorkFile(const FilePlace& source, const std::filesystem::path& workFile, FileError& error);

}  // namespace nodra
