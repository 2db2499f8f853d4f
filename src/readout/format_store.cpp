#include "readout/format_store.h"

#include <string_view>
#include <system_error>
#include <utility>

#include "platform/path_text.h"
#include "readout/layout_writers.h"
#include "readout/output_item.h"
#include "readout/store_output_file.h"
#include "readout/work_file_copy.h"
#include "store/read_out_messages.h"
#include "store/read_out_text.h"
#include "store/store_fields.h"
#include "store/store_line_reader.h"
#include "store/store_numbers.h"

namespace nodra {

namespace {

constexpr std::size_t kPathLimit = 149;

// The store did not reach the work file: a box for the first passes only (the non-zero pass repeats the main
// store's), the status text always.
void storeNotCopied(Ui& ui, std::string text, const std::string& storeIdentifier) {
  if (storeIdentifier == "hlavnySklad" || storeIdentifier == "zostava") {
    ui.message(readOutFailure(std::move(text)));
  } else {
    ui.note(Outcome::Failure);
  }
  ui.setStatus(kReadOutFailed);
}

// A short or failed write must not end in "Dáta vyčítané"; the previous file stays.
void outputNotWritten(Ui& ui, const std::string& outputPath, const FileError& error) {
  ui.message(transferFailure(withReason("Do súboru " + outputPath + " sa nepodarilo zapísať všetky údaje.", error) +
                             "\r\nPredchádzajúci súbor zostal nezmenený."));
  ui.setStatus(kReadOutFailed);
}

}  // namespace

void FormatStore(ReadOutContext& ctx, char mode, const std::string& outputPath, const std::string& storeIdentifier) {
  Ui& ui = ctx.session.ui;
  ui.setStatus(kTransferRunning);
  if (ctx.readTerminalSettings) ctx.readTerminalSettings();

  const std::string workFilePath = ctx.exeFolder + "tmp_in.txt";
  const std::string_view relative = mode == 'R' ? "DATA\\data_out.txt" : "DATA\\zost_out.txt";
  const auto& drive = ctx.session.drive;
  std::string sourceText;
  if (drive) {
    sourceText = drive->displayPath(relative);
  } else {
    for (char c : relative) sourceText.push_back(c == '\\' ? '/' : c);
  }

  if (sourceText.size() > kPathLimit || workFilePath.size() > kPathLimit) {
    const std::string& longPath = sourceText.size() > kPathLimit ? sourceText : workFilePath;
    storeNotCopied(ui, pathTooLongText(longPath, kPathLimit), storeIdentifier);
    return;
  }
  FileError error;
  if (!drive || !copyToWorkFile(drive->place(relative), toFsPath(workFilePath), error)) {
    // A store that is there but cannot be read is not "missing": say what the system said.
    std::string text =
        !drive || error.trouble == FileTrouble::Missing ? "Súbor " + sourceText + " neexistuje." : fileErrorText(error);
    storeNotCopied(ui, std::move(text), storeIdentifier);
    return;
  }
  ui.setActivity(sourceText);
  convertStore(ctx, workFilePath, outputPath, sourceText);
}

void convertStore(ReadOutContext& ctx, const std::string& workFilePath, const std::string& outputPath,
                  const std::string& storeText) {
  Ui& ui = ctx.session.ui;
  StoreOutputFile output;
  FileError error;
  if (!output.create(FilePlace::onPc(toFsPath(outputPath)), error)) {
    ui.message(outputNotOpened(outputPath, error));
    return;
  }
  StoreLineReader reader;
  if (!reader.open(FilePlace::onPc(toFsPath(workFilePath)), error)) {
    output.abandon();
    ui.message(transferFailure(withReason("Subor " + workFilePath + " sa nepodarilo otvorit", error)));
    return;
  }

  const LocalSettings& layout = ctx.settings;
  static_assert(layoutLinesRoom(kStoreFieldMax, kStoreFieldMax) <= StoreOutputFile::kRecordRoom);
  StoreFields fields(ctx.settings.Diakritika);
  const ReadOutText text(ctx);
  std::string nameScratch;
  unsigned count = 0;
  unsigned written = 0;
  std::string_view line;
  while (reader.next(line)) {
    if (!isRecordLine(line)) continue;
    ++count;
    ui.progress(count, count);

    // Missing fields stay empty and 0.
    OutputItem item;
    const int fieldCount = fields.splitRead(line);
    item.code = fields[0];
    if (fieldCount > 1 && !readStoreFloat(fields[1], item.price)) ui.message(badRecordMessage(item.code));
    if (fieldCount > 2 && !readStoreFloat(fields[2], item.quantity)) ui.message(badRecordMessage(item.code));
    item.name = text.name(fields[3], nameScratch);
    if (ctx.nonZeroOnly && item.quantity == 0.0f) continue;
    ++written;

    // The document column is not asked for: read-out items carry no document number.
    char* out = output.position();
    if (layout.CASIO1_OSK) out = WriteCasioLine(out, item);
    if (layout.Pevna_dl_OSK) out = WriteFixedLine(out, item, layout);
    if (layout.Odd_OSK) out = WriteDelimitedLine(out, item, layout);
    if (layout.Old_OSK) out = WriteOldLine(out, item, layout);
    output.advanceTo(out);
    if (!output.flushIfFull()) {
      output.abandon();
      outputNotWritten(ui, outputPath, output.error());
      return;
    }
  }
  const bool readFailed = reader.failed();
  reader.close();
  if (readFailed) {
    output.abandon();
    FileError readError;
    readError.set(FileTrouble::System, workFilePath, reader.readError());
    ui.message(transferFailure(withReason("Súbor " + workFilePath + " sa nepodarilo prečítať celý.", readError) +
                               "\r\nPredchádzajúci súbor " + outputPath + " zostal nezmenený."));
    ui.setStatus(kReadOutFailed);
    return;
  }
  ui.setTitle(kApplicationTitle);
  if (!output.close(error)) {
    outputNotWritten(ui, outputPath, error);
    return;
  }
  ui.reportInput(storeText.empty() ? workFilePath : storeText, count, 0);
  ui.reportOutput(outputPath, written);
  ui.setStatus(kDataReadOut);
}

}  // namespace nodra
