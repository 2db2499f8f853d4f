#pragma once
// One copy of the program per user session: an advisory lock on a file named after the mutex, which the
// system releases when the process ends, crash or not.
#include <string>

namespace nodra {

class SingleInstance {
 public:
  explicit SingleInstance(const std::string& name);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another process holds the lock.
  bool acquired() const { return acquired_; }

 private:
  int fd_ = -1;
  bool acquired_ = false;
};

}  // namespace nodra
