#include "terminal/terminal_drive.h"

#include <sys/stat.h>

namespace nodra {

std::string cardIdentity(const TerminalDrive& drive) {
  FileError error;
  UniqueFd config = openForReading(drive.place(kTerminalConfigFile), error);
  struct stat st {};
  if (!config || ::fstat(config.get(), &st) != 0) return {};
  return drive.root.string() + '|' + std::to_string(st.st_dev) + '|' + std::to_string(st.st_ino);
}

}  // namespace nodra
