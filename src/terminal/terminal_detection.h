#pragma once
// Finding the terminal: the first removable volume, in drive-letter order, with a readable medium and the
// terminal's settings file on it as a regular file. Nothing is cached: every terminal operation asks again.
#include <optional>

#include "platform/file_error.h"
#include "platform/ui.h"
#include "platform/volumes.h"
#include "terminal/terminal_drive.h"

namespace nodra {

struct Detection {
  std::optional<TerminalDrive> drive;
  // The first card passed over because it holds a link or a special file where the terminal keeps its files.
  std::optional<FileError> refusal;
};

Detection DetectTerminal(VolumeSource& volumes);

inline constexpr std::string_view kNotConnectedCaption = "NODRA nepripojená.";

// The not-connected box, in the wording of its caller; counts as "no terminal" for the exit code.
inline Message notConnectedMessage(std::string text) {
  Message m = warningMessage(std::move(text), kNotConnectedCaption).owned();
  m.outcome = Outcome::NoTerminal;
  return m;
}

// DetectTerminal, then tells the user: the drive in panel 0; otherwise why a card was refused, or the
// not-connected message, and the status.
std::optional<TerminalDrive> CheckTerminal(VolumeSource& volumes, Ui& ui);

// Every place the program reads or writes on the card, as the terminal spells them.
inline constexpr std::string_view kCardFolders[] = {"CONFIG", "DATA", "PROGRAM"};
inline constexpr std::string_view kCardFiles[] = {"CONFIG\\NODRA3000.ini", "CONFIG\\wifi.ini", "DATA\\DATA_OUT.TXT",
                                                  "DATA\\ZOST_OUT.TXT",    "DATA\\VP_OUT.TXT", "DATA\\data_in.txt"};

}  // namespace nodra
