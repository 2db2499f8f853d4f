#pragma once
// The program's own folder volume source with the test's cards as drives.
#include <filesystem>

#include "platform/folder_list_source.h"

namespace nodra::testing {

// The card as the only removable drive, labelled as the drive letter it stands for.
inline FolderListSource oneDrive(std::filesystem::path card) {
  return FolderListSource({Volume{std::move(card), "X:", 0}});
}

}  // namespace nodra::testing
