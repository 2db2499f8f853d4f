#pragma once
// Folders taken as removable drives: the folders of NODRA3000_DRIVES, or a test's own cards.
#include <string_view>
#include <utility>
#include <vector>

#include "platform/volumes.h"

namespace nodra {

// Each folder counts as a drive with a medium for as long as it is a folder.
class FolderListSource final : public VolumeSource {
 public:
  // No drives at all.
  FolderListSource() = default;
  // The volumes given, in their order.
  explicit FolderListSource(std::vector<Volume> volumes) : volumes_(std::move(volumes)) {}
  // NODRA3000_DRIVES: a colon-separated list of folders, each labelled with its name; empty items are skipped.
  explicit FolderListSource(std::string_view list);

  std::vector<Volume> removableVolumes() override { return volumes_; }
  bool hasReadableMedium(const Volume& volume, int probeFile) override;

 private:
  std::vector<Volume> volumes_;
};

}  // namespace nodra
