#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace nodra {

SingleInstance::SingleInstance(const std::string& name) {
  std::filesystem::path folder;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
    folder = runtime;
  } else {
    std::error_code ec;
    folder = std::filesystem::temp_directory_path(ec);
    if (ec) folder = "/tmp";
  }
  fd_ = ::open((folder / name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // Without a lock file there is no way to tell; running beats refusing to start.
  if (fd_ < 0) {
    acquired_ = true;
    return;
  }
  acquired_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

SingleInstance::~SingleInstance() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace nodra
