#include <bit>

#include "fill/input_parsers.h"
#include "fill/number_field.h"
#include "fill/parser_support.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nodra {

using namespace parser_support;

namespace {

enum FieldRole { kCode = 0, kPrice = 1, kCount = 2, kName = 3 };

// Fields 1 to 3 end at the delimiter (consumed) or the line end; field 4 is the rest, delimiters and all.
// A delimiter of 0 (an empty delimiter box) makes the whole line field 1.
void splitFields(std::string_view body, const char delimiter, std::string_view (&fields)[4]) {
  const char* start = body.data();
  const char* const end = body.data() + body.size();
  int field = 0;
  if (delimiter != 0) {
    const char* p = start;
    const auto endField = [&](const char* at) {
      fields[field++] = std::string_view(start, static_cast<std::size_t>(at - start));
      start = at + 1;
    };
#if defined(__SSE2__)
    // Sixteen bytes looked at in one step, as long as they lie within the line.
    const __m128i delimiters = _mm_set1_epi8(delimiter);
    for (; field < 3 && end - p >= 16; p += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, delimiters)));
      for (; found != 0 && field < 3; found &= found - 1) endField(p + std::countr_zero(found));
    }
#endif
    for (; p < end && field < 3; ++p) {
      if (*p == delimiter) endField(p);
    }
  }
  fields[field++] = std::string_view(start, static_cast<std::size_t>(end - start));
  while (field < 4) fields[field++] = {};
}

void assignRightAligned(std::string& code, std::string_view text) {
  code.assign(text.size() < kAlignedCodeWidth ? kAlignedCodeWidth - text.size() : 0, ' ');
  code.append(text);
}

}  // namespace

unsigned ParseDelimitedInput(InputFile& in, const LocalSettings& settings, Ui& ui, RecordSink& out) {
  const int roles[4] = {settings.Odd1_ISK, settings.Odd2_ISK, settings.Odd3_ISK, settings.Odd4_ISK};
  const char delimiter = static_cast<char>(settings.Odd_Char_ISK);
  InputRecord record;
  std::string number;
  std::string_view line;
  std::string_view fields[4];
  unsigned accepted = 0;
  while (in.readLine(kInputLineMax, line)) {
    const unsigned lineNumber = in.lineNumber();
    splitFields(withoutLineEnd(line), delimiter, fields);
    if (isBlankLine(line)) {
      // Warned about as the numeric field it lacks, but it carries no goods and uses no number.
      for (int i = 0; i < 4; ++i) {
        if (roles[i] == kPrice || roles[i] == kCount) {
          reportBlankLine(ui, settings.hlaska_data_in, lineNumber, std::string(fields[i]));
          break;
        }
      }
      finishLine(in, ui, kInputLineMax, false);
      continue;
    }
    clear(record);
    bool dropped = false;
    for (int i = 0; i < 4 && !dropped; ++i) {
      switch (roles[i]) {
        case kCode:
          if (i == 0) {
            record.code.assign(fields[i]);
          } else {
            assignRightAligned(record.code, fields[i]);
          }
          break;
        case kPrice:
        case kCount:
          dropped = !takeNumber(ui, settings.hlaska_data_in, lineNumber, fields[i], number,
                                roles[i] == kPrice ? record.price : record.count);
          break;
        case kName: record.name.assign(fields[i]); break;
        default: break;
      }
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
