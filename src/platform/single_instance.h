#pragma once
// One copy of the program per user at a time: an advisory lock that the system releases when the process ends,
// crash or not. It is kept under the user's home from the password database, so that a run from cron, from a
// service manager and from the desktop find the same lock whatever their environment. Runs that share a program
// folder are runs of one user (the program refuses a folder that is not the user's own), so they exclude each
// other too. The lock file is the user's own and is opened without following links; one that is not is refused
// rather than trusted, and the run does not go on unguarded.
#include <filesystem>
#include <string>

#include "platform/unique_fd.h"

namespace nodra {

class SingleInstance {
 public:
  enum class State { Acquired, HeldElsewhere, Unsafe };

  // The lock is the file `name` in `folder`.
  SingleInstance(const std::filesystem::path& folder, const std::string& name);

  State state() const { return state_; }
  bool acquired() const { return state_ == State::Acquired; }
  // For Unsafe: what is wrong, in words for the user (Windows-1250).
  const std::string& problem() const { return problem_; }

 private:
  void acquire(const std::filesystem::path& folder, const std::string& name);

  State state_ = State::Unsafe;
  std::string problem_;
  UniqueFd lock_;
};

// The folder for the per-user lock: ~/.local/state/nodra3000 of the home the password database gives for the
// effective user, created as needed. Empty when that home is not the user's own.
std::filesystem::path userLockFolder(std::string& problem);

}  // namespace nodra
