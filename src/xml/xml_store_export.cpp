#include "xml/xml_store_export.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "platform/path_text.h"
#include "store/read_out_messages.h"
#include "store/read_out_text.h"
#include "store/second_pass_carry.h"
#include "store/store_digest.h"
#include "store/store_fields.h"
#include "store/store_line_reader.h"
#include "xml/xml_number.h"
#include "xml/xml_stream.h"

namespace nodra {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The writers' counter ends at 0 however a writer ends, a thrown failure included.
class CounterReset {
 public:
  explicit CounterReset(unsigned& counter) : counter_(counter) {}
  CounterReset(const CounterReset&) = delete;
  CounterReset& operator=(const CounterReset&) = delete;
  ~CounterReset() { counter_ = 0; }

 private:
  unsigned& counter_;
};

std::array<std::size_t, kXmlFieldPositions> filledWithNone() {
  std::array<std::size_t, kXmlFieldPositions> table;
  table.fill(kNone);
  return table;
}

// Whether the code comes before every number in the record: a warning about a number then always names
// the code of its own line.
constexpr bool codeComesFirst(std::span<const XmlChild> children) {
  int code = -1;
  for (const XmlChild& child : children) {
    if (child.element == kXmlCodeElement) code = child.field;
  }
  for (const XmlChild& child : children) {
    if (child.kind != XmlFieldKind::Text && child.field < code) return false;
  }
  return true;
}
static_assert(codeComesFirst(kXmlMainStoreChildren) && codeComesFirst(kXmlVpStoreChildren) &&
              codeComesFirst(kXmlReportChildren));

// The element texts of one record line, in layout order: views into the line, or into this object for the
// numbers it writes anew. Valid until the next line.
class RecordConverter {
 public:
  // `carry`: the first pass over the main store, which also decides which items are not zero and keeps the warnings.
  RecordConverter(const XmlStoreLayout& layout, char separator, Ui& ui, const ReadOutText& text,
                  SecondPassCarry* carry = nullptr)
      : layout_(layout),
        separator_(separator),
        ui_(ui),
        text_(text),
        carry_(carry),
        wantQuantity_(layout.nonZeroOnly || carry != nullptr),
        fields_(text.keepsAccents()) {
    for (std::size_t i = 0; i < layout.children.size(); ++i) {
      const XmlChild& child = layout.children[i];
      if (child.element == kXmlCodeElement) codeChild_ = i;
      if (child.element == kXmlNameElement) nameChild_ = i;
      if (child.element == kXmlQuantityElement) quantityChild_ = i;
      if (child.field > lastField_) lastField_ = child.field;
      childOfField_[static_cast<std::size_t>(child.field)] = i;
    }
  }

  void convert(std::string_view line) {
    texts_.fill({});
    code_ = {};
    quantity_ = 0.0f;
    quantityRead_ = false;
    fieldsRead_ = fields_.splitRead(line);
    const int last = fieldsRead_ - 1 < lastField_ ? fieldsRead_ - 1 : lastField_;
    // In field order, as the warnings come.
    for (int position = 0; position <= last; ++position) {
      const std::size_t child = childOfField_[static_cast<std::size_t>(position)];
      if (child != kNone) convertField(child, fields_[position]);
    }
  }

  std::string_view text(std::size_t child) const { return texts_[child]; }

  // DATA_OUTN.XML: the name was read and the quantity is a number other than zero. A quantity that failed
  // to convert counts as the zero the warning announces.
  bool isNonZeroItem() const { return fieldsRead_ > lastField_ && quantityRead_ && quantity_ != 0.0f; }

 private:
  void convertField(std::size_t i, std::string_view field) {
    char* const number = numbers_[i];
    switch (layout_.children[i].kind) {
      case XmlFieldKind::Text:
        if (i == codeChild_) code_ = field;
        texts_[i] = i == nameChild_ ? text_.name(field, scratch_) : field;
        // The file is UTF-8: kept accents are written as the same characters there.
        if (text_.keepsAccents() && hasHighByte(texts_[i])) {
          utf8_[i] = cp1250::toUtf8(texts_[i]);
          texts_[i] = utf8_[i];
        }
        return;
      case XmlFieldKind::Number: {
        // Only DATA_OUTN.XML looks at a value.
        const bool wanted = wantQuantity_ && i == quantityChild_;
        const char* end = putXmlNumberField(number, field, separator_, wanted ? &quantity_ : nullptr);
        if (end == nullptr) {
          warnInvalid();
          return;
        }
        texts_[i] = std::string_view(number, static_cast<std::size_t>(end - number));
        if (wanted) quantityRead_ = true;
        return;
      }
      case XmlFieldKind::Integer: {
        std::int32_t value = 0;
        if (!readTruncatedInt32(field, value)) {
          warnInvalid();
          return;
        }
        auto result = std::to_chars(number, number + kXmlNumberRoom, value);
        texts_[i] = std::string_view(number, static_cast<std::size_t>(result.ptr - number));
        return;
      }
    }
  }

  void warnInvalid() {
    ui_.message(badRecordMessage(code_));
    if (carry_ != nullptr) carry_->warn(code_);
  }

  static bool hasHighByte(std::string_view text) {
    for (char c : text) {
      if (static_cast<unsigned char>(c) >= 128) return true;
    }
    return false;
  }

  const XmlStoreLayout& layout_;
  char separator_;
  Ui& ui_;
  const ReadOutText& text_;
  SecondPassCarry* carry_;
  bool wantQuantity_;
  std::string scratch_;
  std::array<std::string, kXmlMaxChildren> utf8_;
  std::size_t codeChild_ = kNone;
  std::size_t nameChild_ = kNone;
  std::size_t quantityChild_ = kNone;
  int lastField_ = -1;
  std::array<std::size_t, kXmlFieldPositions> childOfField_ = filledWithNone();  // kNone: a field not written
  StoreFields fields_;
  std::array<std::string_view, kXmlMaxChildren> texts_;
  char numbers_[kXmlMaxChildren][kXmlNumberRoom];
  std::string_view code_;
  int fieldsRead_ = 0;
  float quantity_ = 0.0f;
  bool quantityRead_ = false;
};

// DATA_OUTN.XML, written during the first pass over the main store.
class XmlCarry : public SecondPassCarry {
 public:
  void abandon() override { stream.abandon(); }
  XmlStream stream;
  std::vector<bool> nonZero;  // for each record line: whether its item went into the file
};

Message inputPathTooLong(const std::string& inputText) {
  return transferFailure(pathTooLongText(inputText, kXmlInputPathMax));
}

[[noreturn]] void throwReadFailure(const std::string& inputText, const std::string& outputText, int readError) {
  FileError error;
  error.set(FileTrouble::System, inputText, readError);
  throw std::runtime_error(withReason("Súbor " + inputText + " sa nepodarilo prečítať", error) +
                           "\r\nPredchádzajúci súbor " + outputText + " zostal nezmenený.");
}

[[noreturn]] void throwWriteFailure(const std::string& outputText, const FileError& error) {
  throw std::runtime_error(withReason("Súbor " + outputText + " sa nepodarilo zapísať", error) +
                           "\r\nPredchádzajúci súbor zostal nezmenený.");
}

// The second pass over the main store: read whole from the card; when it holds the bytes the first pass read,
// that pass's DATA_OUTN.XML goes in place with the same progress and warnings. Nothing: convert anew; else
// whether the file was written.
std::optional<bool> useCarry(ReadOutContext& ctx, XmlCarry& carry, const FilePlace& input, const std::string& inputText,
                             const std::string& outputText) {
  Ui& ui = ctx.session.ui;
  StoreDigest::Value value;
  FileError error;
  int readError = 0;
  if (!digestFile(input, value, error, readError)) {
    carry.abandon();
    if (readError != 0) throwReadFailure(inputText, outputText, readError);
    ui.message(inputNotOpened(inputText, error));
    return false;
  }
  if (!(value == carry.digest.value())) return std::nullopt;
  ui.setActivity(inputText);
  auto warning = carry.warnings().begin();
  unsigned written = 0;
  for (unsigned count = 1; count <= carry.records; ++count) {
    ui.progress(written, count);
    for (; warning != carry.warnings().end() && warning->record == count; ++warning) {
      ui.message(badRecordMessage(warning->code));
    }
    if (carry.nonZero[count - 1]) ++written;
  }
  carry.stream.close();
  if (!carry.stream.finish(error)) throwWriteFailure(outputText, error);
  ui.reportInput(inputText, carry.records, 0);
  ui.reportOutput(outputText, carry.written);
  return true;
}

}  // namespace

std::string xmlOutputPath(std::string_view pathXmlOut, std::string_view exeFolder, std::string_view outputName) {
  return inFolderOf(pathXmlOut, exeFolder, outputName);
}

bool writeXmlStore(ReadOutContext& ctx, const XmlStoreLayout& layout, char decimalSeparator) {
  CounterReset counterReset(ctx.runningItemCounter);
  // Taken at once: a second pass that stops early leaves nothing pending.
  std::unique_ptr<SecondPassCarry> carried = layout.nonZeroOnly ? std::move(ctx.carry) : nullptr;
  Ui& ui = ctx.session.ui;
  if (!ctx.session.check()) return false;
  const TerminalDrive& drive = *ctx.session.drive;

  const std::string inputText = drive.displayPath(layout.terminalFile);
  const std::string outputText = xmlOutputPath(ctx.settings.path_xmlOut, ctx.exeFolder, layout.outputName);

  if (inputText.size() > kXmlInputPathMax) {
    ui.message(inputPathTooLong(inputText));
    return false;
  }
  StoreLineReader reader;
  const FilePlace input = drive.place(layout.terminalFile);
  const FilePlace output = FilePlace::onPc(toFsPath(outputText));
  FileError error;
  const bool makesCarry = ctx.carryNonZero && &layout == &kXmlMainStore;
  if (carried) {
    auto* xml = dynamic_cast<XmlCarry*>(carried.get());
    if (xml != nullptr) {
      if (const std::optional<bool> written = useCarry(ctx, *xml, input, inputText, outputText)) return *written;
    }
    carried.reset();  // converted anew below
  }
  if (layout.absentMeansEmpty && inspectPlace(input).trouble == FileTrouble::Missing) {
    // Written as the empty store it is, so that no earlier run's receipts are taken for today's.
    XmlStream empty;
    if (!empty.create(output, error)) {
      ui.message(outputNotOpened(outputText, error));
      return false;
    }
    empty.open(layout.root);
    empty.close();
    if (!empty.finish(error))
      throw std::runtime_error(withReason("Súbor " + outputText + " sa nepodarilo zapísať", error));
    ui.reportOutput(outputText, 0);
    return true;
  }
  if (!reader.open(input, error)) {
    ui.message(inputNotOpened(inputText, error));
    return false;
  }
  XmlStream out;
  if (!out.create(output, error)) {
    reader.close();
    ui.message(outputNotOpened(outputText, error));
    return false;
  }
  std::unique_ptr<XmlCarry> carry;
  if (makesCarry) {
    carry = std::make_unique<XmlCarry>();
    // Any trouble with it is the second pass's to meet and report.
    FileError ignored;
    const std::string carriedText = xmlOutputPath(ctx.settings.path_xmlOut, ctx.exeFolder, kXmlNonZero.outputName);
    if (carry->stream.create(FilePlace::onPc(toFsPath(carriedText)), ignored)) {
      carry->stream.open(kXmlNonZero.root);
      reader.digestInto(&carry->digest);
    } else {
      carry.reset();
    }
  }
  ui.setActivity(inputText);

  const ReadOutText text(ctx);
  RecordConverter record(layout, decimalSeparator, ui, text, carry.get());
  const XmlTag recordTag(kXmlRecordElement);
  std::vector<XmlTag> childTags;
  childTags.reserve(layout.children.size());
  for (const XmlChild& child : layout.children) childTags.emplace_back(child.element);
  unsigned itemsWritten = 0;
  out.open(layout.root);
  std::string_view line;
  // One POLOZKA per line read; the empty read at the end of the file gets none.
  while (reader.next(line)) {
    if (!isRecordLine(line)) {
      if (!layout.nonZeroOnly) out.element(recordTag, {});
      continue;
    }
    const unsigned count = ++ctx.runningItemCounter;
    ui.progress(layout.nonZeroOnly ? itemsWritten : count, count);
    if (carry) carry->records = count;
    record.convert(line);
    if (layout.nonZeroOnly && !record.isNonZeroItem()) continue;
    // The non-zero file's element of an item is the same bytes: kept in the buffer to be copied.
    const bool carrying = carry && carry->usable;
    std::size_t mark = 0;
    if (carrying) {
      std::size_t asked = recordTag.start.size() + recordTag.end.size();
      for (std::size_t i = 0; i < childTags.size(); ++i) asked += elementRoom(childTags[i], record.text(i));
      mark = out.hold(asked);
    }
    out.start(recordTag);
    for (std::size_t i = 0; i < childTags.size(); ++i) out.element(childTags[i], record.text(i));
    out.end(recordTag);
    ++itemsWritten;
    // One given up stays until the end: the reader and the converter still point to it.
    if (carrying) {
      const bool nonZero = record.isNonZeroItem();
      carry->nonZero.push_back(nonZero);
      if (nonZero) {
        carry->stream.raw(out.writtenSince(mark));
        ++carry->written;
      }
    }
  }
  out.close();

  if (reader.failed()) {
    out.abandon();
    throwReadFailure(inputText, outputText, reader.readError());
  }
  reader.close();
  if (!out.finish(error)) throwWriteFailure(outputText, error);
  ui.reportInput(inputText, ctx.runningItemCounter, 0);
  ui.reportOutput(outputText, itemsWritten);
  if (carry && carry->usable && !carry->stream.failed()) {
    reader.digestInto(nullptr);
    ctx.carry = std::move(carry);
  }
  return true;
}

}  // namespace nodra
