// One input parser (NODRA_FUZZ_LAYOUT: 0 delimiter, 1 fixed length, 2 CASIO 1, 3 old) on any file, with any
// settings the settings file can hold, writing the terminal's record file as the fill does.
// Properties: every record delivered fits the record's widths and carries finite numbers; the count returned
// is the number delivered; the record file holds one line per record.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <limits>
#include <string>

#include "fill/code_table.h"
#include "fill/input_file.h"
#include "fill/input_parsers.h"
#include "fill/record_file.h"
#include "fuzz_support.h"
#include "support/recording_ui.h"

namespace {

using namespace nodra;

// A span bound as the settings file may hold it: usually near the line, sometimes anything at all.
int spanValue(FuzzedDataProvider& in) {
  return in.ConsumeBool() ? in.ConsumeIntegralInRange(-3, 150) : in.ConsumeIntegral<int>();
}

LocalSettings settingsFrom(FuzzedDataProvider& in) {
  LocalSettings s = LocalSettings::defaults(fuzz::scratchText());
  s.hlaska_data_in = in.ConsumeIntegralInRange(0, 1);
  if (in.ConsumeBool()) {
    s.Odd_Char_ISK = static_cast<signed char>(in.ConsumeIntegral<unsigned char>());
    for (int* role : {&s.Odd1_ISK, &s.Odd2_ISK, &s.Odd3_ISK, &s.Odd4_ISK}) *role = in.ConsumeIntegralInRange(-2, 5);
  }
  if (in.ConsumeBool()) {
    for (int* span :
         {&s.KOD_zac, &s.KOD_dlzka, &s.POC_zac, &s.POC_dlzka, &s.CEN_zac, &s.CEN_dlzka, &s.NAZ_zac, &s.NAZ_dlzka}) {
      *span = spanValue(in);
    }
  }
  return s;
}

// Checks each record on its way into the record file.
class CheckingSink final : public RecordSink {
 public:
  explicit CheckingSink(RecordSink& next) : next_(next) {}
  unsigned delivered = 0;
  void add(InputRecord& record) override {
    NODRA_FUZZ_CHECK(record.code.size() <= kInputCodeMax);
    NODRA_FUZZ_CHECK(record.name.size() <= kInputNameMax);
    NODRA_FUZZ_CHECK(std::isfinite(record.price) && std::isfinite(record.count));
    ++delivered;
    next_.add(record);
  }

 private:
  RecordSink& next_;
};

constexpr InputParser kParsers[] = {ParseDelimitedInput, ParseFixedInput, ParseCasio1Input, ParseOldInput};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::SplitInput input(data, size);
  FuzzedDataProvider script(reinterpret_cast<const uint8_t*>(input.script.data()), input.script.size());
  const LocalSettings settings = settingsFrom(script);
  const int pdmPrice = script.ConsumeIntegralInRange(-1, 4);
  const int pdmCount = script.ConsumeIntegralInRange(-1, 4);

  const auto inputPath = fuzz::scratchFolder() / "data_in.txt";
  const auto recordPath = fuzz::scratchFolder() / "tmp_out.txt";
  fuzz::writeBytes(inputPath, input.file);

  testing::RecordingUi ui{testing::RecordingUi::Mode::Quiet};
  const CodeTable table = identityCodeTable();
  RecordFileWriter writer(table, pdmPrice, pdmCount);
  NODRA_FUZZ_CHECK(writer.open(recordPath));
  CheckingSink sink(writer);
  InputFile file;
  NODRA_FUZZ_CHECK(file.open(inputPath));
  const unsigned count = kParsers[NODRA_FUZZ_LAYOUT](file, settings, ui, sink);
  file.close();
  NODRA_FUZZ_CHECK(!file.failed());
  NODRA_FUZZ_CHECK(count == sink.delivered);
  NODRA_FUZZ_CHECK(writer.commit());

  // One CR LF per record: no code or name can bring a line feed of its own along.
  const std::string records = testing::readFile(recordPath);
  std::size_t lineEnds = 0;
  for (std::size_t p = records.find("\r\n"); p != std::string::npos; p = records.find("\r\n", p + 2)) ++lineEnds;
  NODRA_FUZZ_CHECK(lineEnds == count);
  return 0;
}
