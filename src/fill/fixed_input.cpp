#include "fill/input_parsers.h"
#include "fill/number_field.h"
#include "fill/parser_support.h"

namespace nodra {

using namespace parser_support;

namespace {

std::string_view skipSpaces(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return text.substr(i);
}

// A span that fills its whole width and ends in spaces loses them and gains one space in front: " AB12"
// for "AB12  ". A span with leading spaces just loses those.
void takeCode(std::string& code, std::string_view body, int start, int length) {
  std::string_view span = columns(body, start, length);
  std::string_view text = skipSpaces(span);
  bool fullWidth = length > 0 && span.size() == static_cast<std::size_t>(length) && text.size() == span.size();
  if (fullWidth && !text.empty() && text.back() == ' ') {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    code.assign(1, ' ');
    code.append(text);
  } else {
    code.assign(text);
  }
}

// Leading spaces skipped, control characters dropped, trailing spaces kept; a NUL ends the name, as in the
// other layouts (the terminal's record would end there).
void takeName(std::string& name, std::string_view line, int start, int length) {
  std::string_view text = skipSpaces(columns(line, start, length));
  text = text.substr(0, text.find('\0'));
  name.clear();
  // Runs of kept characters at once: a name span holds the line end at most.
  std::size_t from = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || static_cast<unsigned char>(text[i]) < 32) {
      name.append(text.substr(from, i - from));
      from = i + 1;
    }
  }
}

// "," becomes "."; only the characters 46 to 127 stay, so spaces and signs go.
void takePrice(std::string& text, std::string_view line, int start, int length) {
  text.clear();
  for (char c : columns(line, start, length)) {
    if (c == ',') c = '.';
    auto u = static_cast<unsigned char>(c);
    if (u >= 46 && u <= 127) text.push_back(c);
  }
}

}  // namespace

unsigned ParseFixedInput(InputFile& in, const LocalSettings& s, Ui& ui, RecordSink& out) {
  InputRecord record;
  std::string number;
  std::string_view line;
  unsigned accepted = 0;
  while (in.readLine(kInputLineMax, line)) {
    const unsigned lineNumber = in.lineNumber();
    if (isBlankLine(line)) {
      // Warned about as the numeric field it lacks, but it carries no goods and uses no number.
      if (s.CEN_dlzka > 0) {
        takePrice(number, line, s.CEN_zac, s.CEN_dlzka);
        reportBlankLine(ui, s.hlaska_data_in, lineNumber, number);
      } else if (s.POC_dlzka > 0) {
        reportBlankLine(ui, s.hlaska_data_in, lineNumber, std::string(columns(line, s.POC_zac, s.POC_dlzka)));
      }
      finishLine(in, ui, kInputLineMax, false);
      continue;
    }
    clear(record);
    takeCode(record.code, withoutLineEnd(line), s.KOD_zac, s.KOD_dlzka);
    takeName(record.name, line, s.NAZ_zac, s.NAZ_dlzka);
    bool dropped = false;
    if (s.CEN_dlzka > 0) {
      takePrice(number, line, s.CEN_zac, s.CEN_dlzka);
      dropped = !CheckNumberField(ui, s.hlaska_data_in, lineNumber, number, record.price);
    }
    if (!dropped && s.POC_dlzka > 0) {
      // Taken as it stands: a sign counts, and a span that runs over the line end holds it and fails.
      dropped =
          !takeNumber(ui, s.hlaska_data_in, lineNumber, columns(line, s.POC_zac, s.POC_dlzka), number, record.count);
    }
    if (!dropped) {
      accept(record, out);
      ++accepted;
    } else {
      out.drop();
    }
    finishLine(in, ui, kInputLineMax, dropped);
  }
  return accepted;
}

}  // namespace nodra
