#include "terminal/terminal_detection.h"

#include <fcntl.h>
#include <unistd.h>

namespace nodra {

std::optional<TerminalDrive> DetectTerminal(VolumeSource& volumes) {
  for (const Volume& volume : volumes.removableVolumes()) {
    TerminalDrive drive{volume.root, volume.label};
    auto config = drive.path(kTerminalConfigFile);
    int fd = ::open(config.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ::close(fd);
    if (!volumes.hasReadableMedium(volume, config)) continue;
    return drive;
  }
  return std::nullopt;
}

std::optional<TerminalDrive> CheckTerminal(VolumeSource& volumes, Ui& ui) {
  auto drive = DetectTerminal(volumes);
  if (drive) {
    ui.setDriveText(drive->label);
    return drive;
  }
  Message m;
  m.text =
      "- skontrolujte pripojenie NODRA\r\n\r\n- zvoľte na NODRA voľbu PRENOS UDAJOV\r\n\r\n- vyberte žiadaný prenos";
  m.caption = "NODRA nepripojená.";
  m.icon = Icon::Warning;
  m.ownedByWindow = true;
  m.outcome = Outcome::NoTerminal;
  ui.message(m);
  ui.setStatus("NODRA nepripojený");
  return std::nullopt;
}

}  // namespace nodra
