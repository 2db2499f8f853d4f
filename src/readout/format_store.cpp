#include "readout/format_store.h"

#include <cstring>
#include <memory>
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
#include "store/second_pass_carry.h"
#include "store/store_digest.h"
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

void workFileNotRead(Ui& ui, const std::string& workFilePath, const std::string& outputPath, int readError) {
  FileError error;
  error.set(FileTrouble::System, workFilePath, readError);
  ui.message(transferFailure(withReason("Súbor " + workFilePath + " sa nepodarilo prečítať celý.", error) +
                             "\r\nPredchádzajúci súbor " + outputPath + " zostal nezmenený."));
  ui.setStatus(kReadOutFailed);
}

// Puts the converted store in place and tells what the pass did; `workCopy`, when there is one, is the work
// file the pass copied the store into.
void finishOutput(Ui& ui, StoreOutputFile& output, const std::string& outputPath, const std::string& inputText,
                  unsigned records, unsigned written, const std::string& workCopy) {
  ui.setTitle(kApplicationTitle);
  FileError error;
  if (!output.close(error)) {
    outputNotWritten(ui, outputPath, error);
    return;
  }
  ui.reportInput(inputText, records, 0);
  if (!workCopy.empty()) ui.reportOutput(workCopy, records);
  ui.reportOutput(outputPath, written);
  ui.setStatus(kDataReadOut);
}

// The non-zero file, written during the first pass over the main store.
class FormattedCarry : public SecondPassCarry {
 public:
  void abandon() override { file.abandon(); }
  StoreOutputFile file;
};

enum class CarryRole { None, Make, Use };

CarryRole carryRole(const ReadOutContext& ctx, const std::string& storeIdentifier) {
  if (storeIdentifier == "hlavnySklad" && ctx.carryNonZero && !ctx.nonZeroOnly) return CarryRole::Make;
  if (storeIdentifier == "nenulove" && ctx.nonZeroOnly && ctx.carry) return CarryRole::Use;
  return CarryRole::None;
}

void convert(ReadOutContext& ctx, const std::string& workFilePath, const std::string& outputPath,
             const std::string& storeText, CarryRole role);

// The second pass over the main store: the work file is read whole; when it holds the bytes the first pass
// converted, that pass's non-zero file goes in place with the same progress and warnings. False: convert anew.
bool useCarry(ReadOutContext& ctx, FormattedCarry& carry, const std::string& workFilePath,
              const std::string& outputPath, const std::string& storeText) {
  Ui& ui = ctx.session.ui;
  FileError error;
  StoreDigest::Value value;
  int readError = 0;
  if (!digestFile(FilePlace::onPc(toFsPath(workFilePath)), value, error, readError)) {
    carry.abandon();
    if (readError == 0) {
      ui.message(inputNotOpened(workFilePath, error));
    } else {
      workFileNotRead(ui, workFilePath, outputPath, readError);
    }
    return true;
  }
  if (!(value == carry.digest.value())) return false;
  auto warning = carry.warnings().begin();
  for (unsigned count = 1; count <= carry.records; ++count) {
    ui.progress(count, count);
    for (; warning != carry.warnings().end() && warning->record == count; ++warning) {
      ui.message(badRecordMessage(warning->code));
    }
  }
  finishOutput(ui, carry.file, outputPath, storeText, carry.records, carry.written, workFilePath);
  return true;
}

}  // namespace

void FormatStore(ReadOutContext& ctx, char mode, const std::string& outputPath, const std::string& storeIdentifier) {
  Ui& ui = ctx.session.ui;
  const CarryRole role = carryRole(ctx, storeIdentifier);
  // Taken at once: a second pass that stops early leaves nothing pending.
  std::unique_ptr<SecondPassCarry> carry = role == CarryRole::Use ? std::move(ctx.carry) : nullptr;
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
  if (role == CarryRole::Use) {
    auto* formatted = dynamic_cast<FormattedCarry*>(carry.get());
    if (formatted != nullptr && useCarry(ctx, *formatted, workFilePath, outputPath, sourceText)) {
      return;
    }
    carry.reset();  // converted anew below
  }
  convert(ctx, workFilePath, outputPath, sourceText, role == CarryRole::Make ? role : CarryRole::None);
}

void convertStore(ReadOutContext& ctx, const std::string& workFilePath, const std::string& outputPath,
                  const std::string& storeText) {
  convert(ctx, workFilePath, outputPath, storeText, CarryRole::None);
}

namespace {

void convert(ReadOutContext& ctx, const std::string& workFilePath, const std::string& outputPath,
             const std::string& storeText, CarryRole role) {
  Ui& ui = ctx.session.ui;
  std::unique_ptr<FormattedCarry> carry;
  if (role == CarryRole::Make) {
    ctx.carry.reset();
    carry = std::make_unique<FormattedCarry>();
    FileError ignored;
    // Any trouble with it is the second pass's to meet and report.
    if (!carry->file.create(FilePlace::onPc(toFsPath(ctx.settings.path_outn)), ignored)) carry.reset();
  }
  StoreOutputFile output;
  FileError error;
  if (!output.create(FilePlace::onPc(toFsPath(outputPath)), error)) {
    ui.message(outputNotOpened(outputPath, error));
    return;
  }
  StoreLineReader reader;
  if (carry) reader.digestInto(&carry->digest);
  if (!reader.open(FilePlace::onPc(toFsPath(workFilePath)), error)) {
    output.abandon();
    ui.message(inputNotOpened(workFilePath, error));
    return;
  }

  const LocalSettings& layout = ctx.settings;
  static_assert(layoutLinesRoom(kStoreFieldMax, kStoreFieldMax) <= StoreOutputFile::kRecordRoom);
  StoreFields fields(ctx.settings.Diakritika);
  const ReadOutText text(ctx);
  std::string nameScratch;
  unsigned count = 0;
  unsigned written = 0;
  // A carry of no use any more stays until the end, given up: the reader still adds to its digest.
  auto warn = [&](std::string_view code) {
    ui.message(badRecordMessage(code));
    if (!carry || !carry->usable) return;
    carry->records = count;
    carry->warn(code);
  };
  std::string_view line;
  while (reader.next(line)) {
    if (!isRecordLine(line)) continue;
    ++count;
    ui.progress(count, count);

    // Missing fields stay empty and 0.
    OutputItem item;
    const int fieldCount = fields.splitRead(line);
    item.code = fields[0];
    if (fieldCount > 1 && !readStoreFloat(fields[1], item.price)) warn(item.code);
    if (fieldCount > 2 && !readStoreFloat(fields[2], item.quantity)) warn(item.code);
    item.name = text.name(fields[3], nameScratch);
    const bool nonZero = item.quantity != 0.0f;
    if (ctx.nonZeroOnly && !nonZero) continue;
    ++written;

    // The document column is not asked for: read-out items carry no document number.
    char* out = output.position();
    if (layout.CASIO1_OSK) out = WriteCasioLine(out, item);
    if (layout.Pevna_dl_OSK) out = WriteFixedLine(out, item, layout);
    if (layout.Odd_OSK) out = WriteDelimitedLine(out, item, layout);
    if (layout.Old_OSK) out = WriteOldLine(out, item, layout);
    if (carry && carry->usable && nonZero) {
      // The non-zero file's line of an item is the full file's line of it.
      char* start = output.position();
      char* carried = carry->file.position();
      std::memcpy(carried, start, static_cast<std::size_t>(out - start));
      carry->file.advanceTo(carried + (out - start));
      ++carry->written;
      if (!carry->file.flushIfFull()) carry->giveUp();
    }
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
    workFileNotRead(ui, workFilePath, outputPath, reader.readError());
    return;
  }
  finishOutput(ui, output, outputPath, storeText.empty() ? workFilePath : storeText, count, written,
               storeText.empty() ? std::string() : workFilePath);
  if (carry && carry->usable) {
    reader.digestInto(nullptr);
    carry->records = count;
    ctx.carry = std::move(carry);
  }
}

}  // namespace

}  // namespace nodra
