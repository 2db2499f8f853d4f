// The XML read-out of any terminal store file, by each of the four writers, under "." and ",".
// Properties: the file is well-formed XML with the writer's root, its records hold the writer's children in
// order, and every number written reads back as the 32-bit value the reader took, in no more digits than
// the shortest form needs.
#include <fuzzer/FuzzedDataProvider.h>

#include <charconv>
#include <cstring>
#include <string>

#include <pugixml.hpp>

#include "fuzz_support.h"
#include "store/store_fields.h"
#include "store/store_line_reader.h"
#include "support/folder_drives.h"
#include "support/recording_ui.h"
#include "xml/xml_number.h"
#include "xml/xml_store_export.h"

namespace {

using namespace nodra;

constexpr const XmlStoreLayout* kLayouts[] = {&kXmlMainStore, &kXmlVpStore, &kXmlReport, &kXmlNonZero};

bool isPrintableAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) return false;
  }
  return true;
}

void checkDocument(const std::filesystem::path& file, const XmlStoreLayout& layout) {
  pugi::xml_document document;
  NODRA_FUZZ_CHECK(document.load_file(file.c_str(), pugi::parse_default, pugi::encoding_utf8));
  const pugi::xml_node root = document.document_element();
  NODRA_FUZZ_CHECK(std::string_view(root.name()) == layout.root);
  NODRA_FUZZ_CHECK(root.next_sibling().empty());
  for (pugi::xml_node record : root.children()) {
    NODRA_FUZZ_CHECK(std::string_view(record.name()) == kXmlRecordElement);
    if (record.first_child().empty()) continue;  // a short line's record
    std::size_t i = 0;
    for (pugi::xml_node child : record.children()) {
      NODRA_FUZZ_CHECK(i < layout.children.size());
      NODRA_FUZZ_CHECK(std::string_view(child.name()) == layout.children[i].element);
      NODRA_FUZZ_CHECK(isPrintableAscii(child.text().get()));
      ++i;
    }
    NODRA_FUZZ_CHECK(i == layout.children.size());
  }
}

std::size_t significantDigits(std::string_view text) {
  std::size_t e = text.find_first_of("eE");
  std::string_view mantissa = text.substr(0, e);
  std::string digits;
  for (char c : mantissa) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 1;
  std::size_t last = digits.find_last_not_of('0');
  return last - first + 1;
}

// Each number field of the store: written, it reads back as the same value, no longer than the shortest form.
void checkNumbers(const std::filesystem::path& store, char separator) {
  StoreLineReader reader;
  NODRA_FUZZ_CHECK(reader.open(store));
  std::string_view line;
  std::string written;
  while (reader.next(line)) {
    if (!isRecordLine(line)) continue;
    splitStoreFields(line, [&](int, std::string_view field) {
      float value = 0;
      written.clear();
      if (!appendXmlNumberField(written, field, separator, &value)) {
        NODRA_FUZZ_CHECK(written.empty());
        return;
      }
      std::string dotted = written;
      for (char& c : dotted) {
        if (c == separator) c = '.';
      }
      float back = 0;
      auto [end, ec] = std::from_chars(dotted.data(), dotted.data() + dotted.size(), back);
      NODRA_FUZZ_CHECK(ec == std::errc() && end == dotted.data() + dotted.size());
      NODRA_FUZZ_CHECK(back == value);
      char shortest[64];
      auto [s, sec] = std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::scientific);
      NODRA_FUZZ_CHECK(sec == std::errc());
      NODRA_FUZZ_CHECK(significantDigits(dotted) <= significantDigits(std::string_view(shortest, s)));
    });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FolderListSource volumes = testing::oneDrive(fuzz::cardFolder());
  const fuzz::SplitInput input(data, size);
  FuzzedDataProvider script(reinterpret_cast<const uint8_t*>(input.script.data()), input.script.size());
  const XmlStoreLayout& layout = *kLayouts[script.ConsumeIntegralInRange(0, 3)];
  const char separator = script.ConsumeBool() ? ',' : '.';

  const auto store = fuzz::cardFolder() / "DATA" / std::string(layout.terminalFile.substr(5));
  fuzz::writeBytes(store, input.file);

  testing::RecordingUi ui{testing::RecordingUi::Mode::Quiet};
  TerminalSession session{ui, volumes, std::nullopt};
  LocalSettings settings = LocalSettings::defaults(fuzz::scratchText());
  settings.path_xmlOut = fuzz::scratchText() + "any.txt";
  ReadOutContext ctx{session, settings, fuzz::scratchText(), nullptr, false, 0};
  writeXmlStore(ctx, layout, separator);
  NODRA_FUZZ_CHECK(ctx.runningItemCounter == 0);

  checkDocument(fuzz::scratchFolder() / std::string(layout.outputName), layout);
  checkNumbers(store, separator);
  return 0;
}
