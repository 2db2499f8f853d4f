#include "fill/input_parsers.h"
#include "fill/number_field.h"
#include "fill/parser_support.h"

namespace nodra {

using namespace parser_support;

// Columns 0..13 code (spaces removed), 14..39 name, 40..49 price; the count is always 0.
unsigned ParseCasio1Input(InputFile& in, const LocalSettings& s, Ui& ui, RecordSink& out) {
  InputRecord record;
  std::string number;
  std::string_view line;
  unsigned slot = 1;
  while (in.readLine(kCasio1LineMax, line)) {
    // A short line (an empty one too) is the end of the list: the rest of the file is not read.
    if (line.size() < kCasio1LineMin) break;
    if (isBlankLine(line)) {
      ReportBlankLine(ui, s.hlaska_data_in, slot, std::string(line.substr(40, 10)));
      continue;
    }
    clear(record);
    for (char c : line.substr(0, 14)) {
      if (c != ' ') record.code.push_back(c);
    }
    record.name.assign(line.substr(14, 26));
    if (!takeNumber(ui, s.hlaska_data_in, slot, line.substr(40, 10), number, record.price)) continue;
    accept(record, out);
    ++slot;
  }
  return slot - 1;
}

}  // namespace nodra
