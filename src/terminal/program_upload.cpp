#include "terminal/program_upload.h"

#include <filesystem>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/integer_text.h"
#include "platform/path_text.h"

namespace nodra {

namespace {

// The copy took both paths as fixed 8-bit buffers; a longer path is refused rather than cut.
constexpr std::size_t kPathLimit = 149;

Message box(std::string text, std::string caption, Icon icon, bool ownedByWindow, Outcome outcome) {
  Message m;
  m.text = std::move(text);
  m.caption = std::move(caption);
  m.icon = icon;
  m.ownedByWindow = ownedByWindow;
  m.outcome = outcome;
  return m;
}

void copyFailed(Ui& ui, const Message& m) {
  ui.message(m);
  ui.setStatus("Chyba pri kopirovaní súboru.");
}

std::string pathTooLong(const std::string& path) {
  return "Cesta k súboru je dlhšia ako " + intToText(static_cast<long long>(kPathLimit)) + " znakov:\r\n" + path +
         "\r\n\r\nNepodarilo sa nakopírovať súbor do NODRA.";
}

}  // namespace

bool UploadProgram(TerminalSession& session, const std::string& programPath) {
  const auto& drive = session.check();
  if (!drive) return false;
  Ui& ui = session.ui;

  // A card taken away since the detection can leave the empty folder it was mounted on: nothing goes there.
  std::error_code ec;
  auto cardStillThere = [&drive, &ec] { return std::filesystem::exists(drive->path(kTerminalConfigFile), ec); };

  // Created before the program is looked for, so it stays even when the program is missing.
  auto folder = drive->path("PROGRAM");
  if (cardStillThere() && !std::filesystem::is_directory(folder, ec)) std::filesystem::create_directory(folder, ec);

  auto source = toFsPath(programPath);
  if (programPath.empty() || !std::filesystem::is_regular_file(source, ec)) {
    ui.message(box("- zadaný program neexistuje\r\n\r\n- skontrolujte umiestnenie súboru", "Chyba prenosu programu.",
                   Icon::Warning, true, Outcome::Failure));
    return false;
  }

  const std::string relative = "PROGRAM\\" + fileNamePart(programPath);
  const std::string targetText = drive->displayPath(relative);
  if (programPath.size() > kPathLimit || targetText.size() > kPathLimit) {
    const std::string& longPath = programPath.size() > kPathLimit ? programPath : targetText;
    copyFailed(ui, box(pathTooLong(longPath), "Pozor...", Icon::Warning, true, Outcome::Failure));
    return false;
  }
  if (!cardStillThere() || !copyFileReplacing(source, drive->path(relative), ec)) {
    copyFailed(
        ui, box("Nepodarilo sa nakopírovať súbor do NODRA.", "Pozor...", Icon::Information, false, Outcome::Failure));
    return false;
  }
  ui.message(box("- program skopirovaný do NODRA\r\n\r\n- na NODRA stlačte akúkoľvek klávesu",
                 "Prenos programu ukončený.", Icon::Information, true, Outcome::Info));
  ui.setStatus("NODRA pripojený");
  return true;
}

}  // namespace nodra
