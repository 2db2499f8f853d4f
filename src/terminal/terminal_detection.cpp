#include "terminal/terminal_detection.h"

#include "platform/path_text.h"

namespace nodra {

namespace {

// A link or a special file anywhere the program will look. What is merely missing or misplaced is left to
// the operation that needs it, which says so in its own words.
std::optional<FileError> hostileLayout(const TerminalDrive& drive) {
  for (std::string_view folder : kCardFolders) {
    FileError e = inspectPlace(drive.place(folder), true);
    if (e.refused()) return e;
  }
  for (std::string_view file : kCardFiles) {
    FileError e = inspectPlace(drive.place(file));
    if (e.refused()) return e;
  }
  return std::nullopt;
}

}  // namespace

Detection DetectTerminal(VolumeSource& volumes) {
  Detection found;
  for (const Volume& volume : volumes.removableVolumes()) {
    TerminalDrive drive{volume.root, volume.label};
    FileError error;
    UniqueFd config = openForReading(drive.place(kTerminalConfigFile), error);
    if (!config) {
      // A link or a special file is worth telling about; a card without the file is just not the terminal.
      if (error.refused() && !found.refusal) found.refusal = error;
      continue;
    }
    if (!volumes.hasReadableMedium(volume, config.get())) continue;
    if (auto trouble = hostileLayout(drive)) {
      if (!found.refusal) found.refusal = *trouble;
      continue;
    }
    found.drive = std::move(drive);
    return found;
  }
  return found;
}

std::optional<TerminalDrive> CheckTerminal(VolumeSource& volumes, Ui& ui) {
  Detection detection = DetectTerminal(volumes);
  if (detection.drive) {
    ui.setDriveText(detection.drive->label);
    ui.reportTerminal(toDisplayText(detection.drive->root));
    return std::move(detection.drive);
  }
  if (detection.refusal) {
    // Nothing of such a card is read or written: it may have been prepared to lead the program astray.
    ui.message(
        failureMessage(fileErrorText(*detection.refusal) +
                           "\r\n\r\nKarta nebola použitá: program na karte neotvára odkazy ani špeciálne súbory.",
                       kNotConnectedCaption, Icon::Warning)
            .owned());
  } else {
    ui.message(
        notConnectedMessage("- skontrolujte pripojenie NODRA\r\n\r\n- zvoľte na NODRA voľbu PRENOS UDAJOV\r\n\r\n- "
                            "vyberte žiadaný prenos"));
  }
  ui.setStatus("NODRA nepripojený");
  return std::nullopt;
}

}  // namespace nodra
