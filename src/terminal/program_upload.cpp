#include "terminal/program_upload.h"

#include "platform/atomic_file.h"
#include "platform/integer_text.h"
#include "platform/path_text.h"
#include "terminal/card_copy_check.h"

namespace nodra {

namespace {

// The copy took both paths as fixed 8-bit buffers; a longer path is refused rather than cut.
constexpr std::size_t kPathLimit = 149;

void copyFailed(Ui& ui, const Message& m) {
  ui.message(m);
  ui.setStatus("Chyba pri kopirovaní súboru.");
}

std::string pathTooLong(const std::string& path) {
  return "Cesta k súboru je dlhšia ako " + intToText(static_cast<long long>(kPathLimit)) + " znakov:\r\n" + path +
         "\r\n\r\nNepodarilo sa nakopírovať súbor do NODRA.";
}

}  // namespace

bool uploadProgram(TerminalSession& session, const std::string& programPath) {
  const auto& drive = session.check();
  if (!drive) return false;
  Ui& ui = session.ui;

  // A card taken away since the detection can leave the empty folder it was mounted on: nothing goes there.
  FileError error;
  // Created before the program is looked for, so it stays even when the program is missing.
  FileError folderError;
  if (cardStillThere(*drive, error)) makeCardFolder(drive->root, "PROGRAM", folderError);

  const FilePlace source = FilePlace::onPc(toFsPath(programPath));
  const FileError sourceError =
      programPath.empty() ? FileError{FileTrouble::Missing, 0, programPath} : inspectPlace(source);
  if (sourceError.failed()) {
    std::string text = "- zadaný program neexistuje\r\n\r\n- skontrolujte umiestnenie súboru";
    // Something other than a file stands there: say what, rather than only that no program is.
    if (sourceError.trouble != FileTrouble::Missing) text = withDetail(std::move(text), sourceError);
    ui.message(failureMessage(std::move(text), "Chyba prenosu programu.", Icon::Warning).owned());
    return false;
  }

  const std::string relative = "PROGRAM\\" + fileNamePart(programPath);
  const std::string targetText = drive->displayPath(relative);
  if (programPath.size() > kPathLimit || targetText.size() > kPathLimit) {
    const std::string& longPath = programPath.size() > kPathLimit ? programPath : targetText;
    copyFailed(ui, failureMessage(pathTooLong(longPath), kCautionCaption, Icon::Warning).owned());
    return false;
  }
  if (!cardStillThere(*drive, error) || !copyFileReplacing(source, drive->place(relative), error)) {
    if (folderError.failed() && error.trouble == FileTrouble::Missing) error = folderError;
    copyFailed(ui, failureMessage(withDetail("Nepodarilo sa nakopírovať súbor do NODRA.", error)));
    return false;
  }
  if (!checkCardCopy(ui, drive->place(relative), source)) {
    ui.setStatus("Chyba pri kopirovaní súboru.");
    return false;
  }
  ui.message(informationMessage("- program skopirovaný do NODRA\r\n\r\n- na NODRA stlačte akúkoľvek klávesu",
                                "Prenos programu ukončený.")
                 .owned());
  ui.setStatus("NODRA pripojený");
  return true;
}

}  // namespace nodra
