#include "readout/raw_copy.h"

#include <filesystem>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/path_text.h"
#include "readout/read_out_texts.h"

namespace nodra {

namespace {

constexpr std::size_t kPathLimit = 299;

bool notCopied(Ui& ui, std::string text) {
  Message m;
  m.text = std::move(text);
  m.caption = std::string(kReadOutFailed);
  m.icon = Icon::Warning;
  m.ownedByWindow = true;
  m.outcome = Outcome::Failure;
  ui.message(m);
  return false;
}

}  // namespace

std::string rawCopyTarget(std::string_view suroveDataPath, std::string_view name) {
  std::string target = folderPart(suroveDataPath);
  if (target.empty() || target.back() != '/') target.push_back('/');
  target.append(name);
  return target;
}

bool CopyRawStore(ReadOutContext& ctx, std::string_view name) {
  Ui& ui = ctx.session.ui;
  std::string relative = "DATA\\";
  relative.append(name);
  const std::string target = rawCopyTarget(ctx.settings.path_suroveData, name);
  const auto& drive = ctx.session.drive;
  const std::string sourceText = drive ? drive->displayPath(relative) : relative;

  if (sourceText.size() > kPathLimit) return notCopied(ui, pathTooLongText(sourceText, kPathLimit));
  if (target.size() > kPathLimit) return notCopied(ui, pathTooLongText(target, kPathLimit));
  if (!drive) return notCopied(ui, "Súbor " + sourceText + " neexistuje.");

  const std::filesystem::path source = drive->path(relative);
  std::error_code ec;
  if (copyFileReplacing(source, toFsPath(target), ec)) return true;
  std::error_code existsError;
  if (!std::filesystem::exists(source, existsError)) {
    if (name == "VP_OUT.TXT") return true;
    return notCopied(ui, "Súbor " + sourceText + " neexistuje.");
  }
  return notCopied(ui, "Súbor " + sourceText + " sa nepodarilo skopírovať do " + target + ".");
}

}  // namespace nodra
