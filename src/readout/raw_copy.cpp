#include "readout/raw_copy.h"

#include "platform/atomic_file.h"
#include "platform/path_text.h"
#include "store/read_out_messages.h"

namespace nodra {

namespace {

constexpr std::size_t kPathLimit = 299;

bool notCopied(Ui& ui, std::string text) {
  ui.message(readOutFailure(std::move(text)));
  return false;
}

}  // namespace

std::string rawCopyTarget(std::string_view suroveDataPath, std::string_view exeFolder, std::string_view name) {
  return inFolderOf(suroveDataPath, exeFolder, name);
}

bool CopyRawStore(ReadOutContext& ctx, std::string_view name) {
  Ui& ui = ctx.session.ui;
  std::string relative = "DATA\\";
  relative.append(name);
  const std::string target = rawCopyTarget(ctx.settings.path_suroveData, ctx.exeFolder, name);
  const auto& drive = ctx.session.drive;
  const std::string sourceText = drive ? drive->displayPath(relative) : relative;

  if (sourceText.size() > kPathLimit) return notCopied(ui, pathTooLongText(sourceText, kPathLimit));
  if (target.size() > kPathLimit) return notCopied(ui, pathTooLongText(target, kPathLimit));
  if (!drive) return notCopied(ui, "Súbor " + sourceText + " neexistuje.");

  const FilePlace source = drive->place(relative);
  const FilePlace copy = FilePlace::onPc(toFsPath(target));
  FileError error;
  if (inspectPlace(source).trouble == FileTrouble::Missing) {
    // Only a card that is still there can tell that it has no VP store.
    FileError gone;
    if (name != "VP_OUT.TXT" || !cardStillThere(*drive, gone))
      return notCopied(ui, "Súbor " + sourceText + " neexistuje.");
    // The terminal has no VP store: an empty copy, so that an earlier run's receipts are not taken for today's.
    if (replaceFile(copy, "", error)) {
      ui.reportOutput(target, 0);
      return true;
    }
    return notCopied(ui, withReason("Súbor " + target + " sa nepodarilo zapísať", error) + ".");
  }
  std::uint64_t lines = 0;
  if (copyFileReplacing(source, copy, error, &lines)) {
    ui.reportInput(sourceText, lines, 0);
    ui.reportOutput(target, lines);
    return true;
  }
  return notCopied(ui, withReason("Súbor " + sourceText + " sa nepodarilo skopírovať do " + target, error) + ".");
}

}  // namespace nodra
