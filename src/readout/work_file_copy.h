#pragma once
// The read-out's work copy of a terminal store ("tmp_in.txt" beside the program). A plain copy: the work file
// is rewritten by every run and needs neither the atomic replacement nor a flush to the medium.
#include <filesystem>
#include <system_error>

namespace nodra {

bool copyToWorkFile(const std::filesystem::path& source, const std::filesystem::path& workFile, std::error_code& ec);

}  // namespace nodra
