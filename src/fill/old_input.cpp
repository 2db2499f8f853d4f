#include "fill/input_parsers.h"

#include <algorithm>

#include "fill/number_field.h"
#include "fill/parser_support.h"

namespace nodra {

using namespace parser_support;

namespace {

// The rest of the count's line: leading spaces and tabs skipped; a CR or LF is dropped together with the
// character after it; at most kOldNameMax characters.
void takeName(std::string& name, std::string_view rest) {
  std::size_t i = 0;
  while (i < rest.size() && (rest[i] == ' ' || rest[i] == '\t')) ++i;
  name.clear();
  while (i < rest.size() && name.size() < kOldNameMax) {
    std::size_t run = i;
    while (run < rest.size() && rest[run] != '\r' && rest[run] != '\n') ++run;
    name.append(rest.substr(i, std::min(run - i, kOldNameMax - name.size())));
    i = run + 2;
  }
}

}  // namespace

// Word by word: code, price and count may stand on different lines; the name is the rest of the count's line.
unsigned ParseOldInput(InputFile& in, const LocalSettings& s, Ui& ui, RecordSink& out) {
  InputRecord record;
  std::string_view word;
  std::string scratch;
  std::string number;
  std::string_view rest;
  unsigned accepted = 0;
  while (in.readWord(word, scratch)) {
    clear(record);
    record.code.assign(word.substr(0, kOldCodeMax));
    // The end of the file inside a record loses that record; the user hears of it.
    const unsigned codeLine = in.lineNumber();
    if (!in.readWord(word, scratch)) {
      reportCutRecord(ui, codeLine);
      out.drop();
      break;
    }
    if (!takeNumber(ui, s.hlaska_data_in, in.lineNumber(), word, number, record.price)) {
      in.skipLine();
      out.drop();
      continue;
    }
    if (!in.readWord(word, scratch)) {
      reportCutRecord(ui, codeLine);
      out.drop();
      break;
    }
    if (!takeNumber(ui, s.hlaska_data_in, in.lineNumber(), word, number, record.count)) {
      in.skipLine();
      out.drop();
      continue;
    }
    // A last record with no name and no line end after its count is whole: its name is empty.
    if (!in.readLine(kOldRestMax, rest)) rest = {};
    takeName(record.name, rest);
    accept(record, out);
    ++accepted;
    finishLine(in, ui, kOldRestMax, false);
  }
  return accepted;
}

}  // namespace nodra
