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
  unsigned accepted = 0;
  while (in.readLine(kCasio1LineMax, line)) {
    const unsigned lineNumber = in.lineNumber();
    // A short line (an empty one too) is the end of the list. What follows is not read as goods, but the
    // user hears how much that leaves out.
    if (line.size() < kCasio1LineMin) {
      unsigned unread = 0;
      for (in.skipRestOfLine(); in.readLine(kCasio1LineMax, line); in.skipRestOfLine()) {
        if (!isBlankLine(line)) ++unread;
      }
      if (unread > 0) {
        reportListEnd(ui, lineNumber, unread);
        out.drop(unread);
      }
      break;
    }
    if (isBlankLine(line)) {
      reportBlankLine(ui, s.hlaska_data_in, lineNumber, std::string(line.substr(40, 10)));
      finishLine(in, ui, kCasio1LineMax, false);
      continue;
    }
    clear(record);
    for (char c : line.substr(0, 14)) {
      if (c != ' ') record.code.push_back(c);
    }
    record.name.assign(line.substr(14, 26));
    const bool dropped = !takeNumber(ui, s.hlaska_data_in, lineNumber, line.substr(40, 10), number, record.price);
    if (!dropped) {
      accept(record, out);
      ++accepted;
    } else {
      out.drop();
    }
    finishLine(in, ui, kCasio1LineMax, dropped);
  }
  return accepted;
}

}  // namespace nodra
