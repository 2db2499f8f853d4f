// "codepage.tbl" of any length and content, and a name through it.
// Properties: the file's first 256 bytes decide their entries, the rest keep the identity except the tab,
// which becomes a space; a name is translated byte for byte and ends at its first 0 entry.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fill/code_table.h"
#include "fuzz_support.h"
#include "support/recording_ui.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nodra;
  const fuzz::SplitInput input(data, size);
  fuzz::writeBytes(fuzz::scratchFolder() / "codepage.tbl", input.file);

  testing::RecordingUi ui{testing::RecordingUi::Mode::Quiet};
  const CodeTable table = LoadCodeTable(true, fuzz::scratchText(), ui);
  NODRA_FUZZ_CHECK(ui.messageCount() == 0);
  for (std::size_t k = 0; k < table.size(); ++k) {
    const unsigned char expected = k < input.file.size() ? static_cast<unsigned char>(input.file[k])
                                   : k == 9              ? ' '
                                                         : static_cast<unsigned char>(k);
    NODRA_FUZZ_CHECK(table[k] == expected);
  }

  std::string name(input.script);
  const std::string original = name;
  TranslateName(table, name);
  NODRA_FUZZ_CHECK(name.size() <= original.size());
  for (std::size_t i = 0; i < original.size(); ++i) {
    const unsigned char translated = table[static_cast<unsigned char>(original[i])];
    if (translated == 0) {
      NODRA_FUZZ_CHECK(name.size() == i);
      break;
    }
    NODRA_FUZZ_CHECK(static_cast<unsigned char>(name[i]) == translated);
  }
  return 0;
}
