#pragma once
// The first line of a PC input file, as the fixed-length layout editor shows it for marking spans.
#include <optional>
#include <string>

#include "platform/file_place.h"

namespace nodra {

// Without its line end; only the start of the file is read, however large it is. Nothing when the file
// cannot be read (`error` says why).
std::optional<std::string> readSampleLine(const FilePlace& file, FileError& error);

}  // namespace nodra
