// The formatted read-out of any terminal store file, in any layout the settings file can ask for.
// Properties: the conversion ends with the output written; every price and quantity the reader takes is
// written as the C library's fixed-point printing would write it.
#include <fuzzer/FuzzedDataProvider.h>

#include <charconv>
#include <string>

#include "fuzz_support.h"
#include "readout/format_store.h"
#include "readout/layout_writers.h"
#include "readout/output_item.h"
#include "store/store_fields.h"
#include "store/store_line_reader.h"
#include "store/store_numbers.h"
#include "support/folder_drives.h"
#include "support/recording_ui.h"

namespace {

using namespace nodra;

int settingValue(FuzzedDataProvider& in, int low, int high) {
  return in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(low, high);
}

LocalSettings layoutFrom(FuzzedDataProvider& in) {
  LocalSettings s = LocalSettings::defaults(fuzz::scratchText());
  // More than one layout flag may be set in a file written by hand.
  s.Odd_OSK = in.ConsumeBool();
  s.Pevna_dl_OSK = in.ConsumeBool();
  s.CASIO1_OSK = in.ConsumeBool();
  s.Old_OSK = in.ConsumeBool();
  s.Odd_Char_OSK = static_cast<signed char>(in.ConsumeIntegral<unsigned char>());
  for (int* field : {&s.Odd1_OSK, &s.Odd2_OSK, &s.Odd3_OSK, &s.Odd4_OSK}) *field = settingValue(in, -1, 4);
  for (int* width : {&s.dlzka1_OSK, &s.dlzka2_OSK, &s.dlzka3_OSK, &s.dlzka4_OSK}) *width = settingValue(in, -2, 60);
  s.PDM1_OSK = settingValue(in, -1, 4);
  s.PDM2_OSK = settingValue(in, -1, 4);
  s.WriteCisloDokladu = in.ConsumeBool();
  return s;
}

std::string printed(float value, int decimals) {
  char buffer[80];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::fixed, decimals);
  NODRA_FUZZ_CHECK(ec == std::errc());
  return std::string(buffer, end);
}

// Every number of the store through the delimiter writer, field by field, against to_chars.
void checkNumbers(const std::filesystem::path& store) {
  StoreLineReader reader;
  NODRA_FUZZ_CHECK(reader.open(store));
  LocalSettings numbersOnly = LocalSettings::defaults(fuzz::scratchText());
  numbersOnly.Odd1_OSK = 1;  // price
  numbersOnly.Odd2_OSK = 2;  // quantity
  numbersOnly.Odd3_OSK = -1;
  numbersOnly.Odd4_OSK = -1;
  std::string_view line;
  std::string out;
  while (reader.next(line)) {
    if (!isRecordLine(line)) continue;
    splitStoreFields(line, [&](int, std::string_view text) {
      OutputItem item;
      if (!readStoreFloat(text, item.price)) return;
      item.quantity = -item.price;
      for (int decimals = 0; decimals <= 3; ++decimals) {
        numbersOnly.PDM2_OSK = decimals;
        numbersOnly.PDM1_OSK = 3 - decimals;
        out.clear();
        WriteDelimitedLine(out, item, numbersOnly);
        NODRA_FUZZ_CHECK(out == printed(item.price, decimals) + ";" + printed(item.quantity, 3 - decimals) + ";;\r\n");
      }
    });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FolderListSource volumes = testing::oneDrive(fuzz::cardFolder());
  const fuzz::SplitInput input(data, size);
  FuzzedDataProvider script(reinterpret_cast<const uint8_t*>(input.script.data()), input.script.size());
  const LocalSettings layout = layoutFrom(script);

  const std::string workFile = fuzz::scratchText() + "tmp_in.txt";
  const std::string outputFile = fuzz::scratchText() + "data_outv.txt";
  fuzz::writeBytes(workFile, input.file);

  testing::RecordingUi ui{testing::RecordingUi::Mode::Quiet};
  TerminalSession session{ui, volumes, std::nullopt};
  ReadOutContext ctx{session, layout, fuzz::scratchText(), nullptr, script.ConsumeBool(), 0};
  convertStore(ctx, workFile, outputFile);
  // Out-of-range numbers are warned about; nothing else may go wrong on a file that reads.
  NODRA_FUZZ_CHECK(ui.worstOutcome() == Outcome::Info || ui.messageCount() > 0);

  checkNumbers(workFile);
  return 0;
}
