// Any file loaded as Pohoda's data pack, then walked and changed through the binding as "XML PARSE" and
// the page's operations do. Property: every failure is a std::runtime_error with a text to show, and the
// file on disk is never changed.
#include <fuzzer/FuzzedDataProvider.h>

#include <stdexcept>
#include <string>

#include "accounting/data_pack.h"
#include "fuzz_support.h"

namespace {

using namespace nodra;

void walk(const TXMLdataPackType& pack, FuzzedDataProvider& ops) {
  (void)pack.id();
  (void)pack.version();
  (void)pack.note();
  (void)pack.application();
  try {
    (void)pack.ico();
  } catch (const std::runtime_error&) {
  }
  for (int i = 0; i < pack.count(); ++i) {
    TXMLdataPackItemType item = pack.item(i);
    (void)item.id();
    TXMLstockType stock = item.stock();
    (void)stock.version();
    TXMLstockHeaderType header = stock.stockHeader();
    (void)header.code();
    (void)header.name();
    (void)header.count();
    (void)header.sellingPrice();
  }
  while (ops.remaining_bytes() > 0) {
    const int count = pack.count();
    switch (ops.ConsumeIntegralInRange(0, 6)) {
      case 0: pack.add().stock().stockHeader().setCode(ops.ConsumeRandomLengthString(8)); break;
      case 1: pack.insert(ops.ConsumeIntegralInRange(0, count)).setVersion("2.0"); break;
      case 2:
        if (count > 0) pack.deleteAt(ops.ConsumeIntegralInRange(0, count - 1));
        break;
      case 3:
        if (count > 0) NODRA_FUZZ_CHECK(pack.remove(pack.item(count - 1)) == count - 1);
        break;
      case 4: pack.setIco(ops.ConsumeIntegral<int>()); break;
      case 5: pack.setNote(ops.ConsumeRandomLengthString(8)); break;
      default: pack.clear(); break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::SplitInput input(data, size);
  const auto file = fuzz::scratchFolder() / "zasoby.XML";
  fuzz::writeBytes(file, input.file);
  FuzzedDataProvider ops(reinterpret_cast<const uint8_t*>(input.script.data()), input.script.size());
  try {
    runXmlParse(fuzz::scratchText());
  } catch (const std::runtime_error& e) {
    NODRA_FUZZ_CHECK(e.what()[0] != '\0');
  }
  try {
    walk(LoadDataPack(file.string()), ops);
  } catch (const std::runtime_error& e) {
    NODRA_FUZZ_CHECK(e.what()[0] != '\0');
  }
  NODRA_FUZZ_CHECK(testing::readFile(file) == input.file);
  return 0;
}
