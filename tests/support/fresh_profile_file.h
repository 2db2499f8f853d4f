#pragma once
// A settings file for tests that change the file between the program's operations: every use stands for an
// operation of its own and so reads the file afresh, as a new ProfileFile of the program would.
#include <filesystem>
#include <string>

#include "platform/profile_file.h"

namespace nodra::testing {

class FreshProfileFile {
 public:
  FreshProfileFile(std::filesystem::path path, std::string displayName, bool mayCreate = true)
      : path_(std::move(path)),
        displayName_(std::move(displayName)),
        mayCreate_(mayCreate),
        current_(path_, displayName_, mayCreate_) {}

  operator ProfileFile&() {  // NOLINT(google-explicit-constructor)
    current_ = ProfileFile(path_, displayName_, mayCreate_);
    return current_;
  }

 private:
  std::filesystem::path path_;
  std::string displayName_;
  bool mayCreate_;
  ProfileFile current_;
};

}  // namespace nodra::testing
