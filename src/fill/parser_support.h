#pragma once
// What the four input parsers share. Internal to the fill library.
#include <string>
#include <string_view>

#include "fill/input_file.h"
#include "fill/input_problems.h"
#include "fill/input_record.h"
#include "fill/number_field.h"

namespace nodra::parser_support {

inline bool isBlankLine(std::string_view line) {
  for (char c : line) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  }
  return true;
}

inline std::string_view withoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  return line;
}

// The columns [start, start + length) of the line; columns outside it count as empty.
inline std::string_view columns(std::string_view line, long long start, long long length) {
  long long from = start < 0 ? 0 : start;
  long long to = start + length;
  if (to > static_cast<long long>(line.size())) to = static_cast<long long>(line.size());
  if (length <= 0 || from >= to) return {};
  return line.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

// CheckNumberField on a field, without copying the field when it is a number (the usual case).
inline bool takeNumber(Ui& ui, int hlaska_data_in, unsigned slot, std::string_view field, std::string& scratch,
                       float& value) {
  if (parseNumberText(field, value)) return true;
  scratch.assign(field);
  return CheckNumberField(ui, hlaska_data_in, slot, scratch, value);
}

// Cuts the texts to the record's widths and hands the record on. A NUL ends a text: the terminal's record
// would be torn by it.
inline void accept(InputRecord& record, RecordSink& out) {
  if (auto nul = record.code.find('\0'); nul != std::string::npos) record.code.resize(nul);
  if (auto nul = record.name.find('\0'); nul != std::string::npos) record.name.resize(nul);
  if (record.code.size() > kInputCodeMax) record.code.resize(kInputCodeMax);
  if (record.name.size() > kInputNameMax) record.name.resize(kInputNameMax);
  out.add(record);
}

// After a line's record was taken or dropped: the rest of an over-long line is read past, never taken as a
// line of its own, and the user hears of it unless the line was already reported.
inline void finishLine(InputFile& in, Ui& ui, std::size_t limit, bool reported) {
  const unsigned line = in.lineNumber();
  if (in.skipRestOfLine() > 0 && !reported) reportLongLine(ui, line, limit - 1);
}

inline void clear(InputRecord& record) {
  record.code.clear();
  record.name.clear();
  record.price = 0;
  record.count = 0;
}

}  // namespace nodra::parser_support
