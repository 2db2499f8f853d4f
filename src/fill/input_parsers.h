#pragma once
// The four layouts of the PC input file. Each parser reads the file from where it stands to its end,
// delivers the accepted records to `out` in file order and returns how many it accepted. Price and count
// texts go through CheckNumberField with the number of the record being filled; a record with a bad number
// is dropped and the next line fills the same number. Lines of nothing but blanks carry no goods: they use
// no number and fail nothing, but where the layout expects a number they get its warning (unless silenced).
#include "fill/input_file.h"
#include "fill/input_record.h"
#include "platform/ui.h"
#include "settings/local_settings.h"

namespace nodra {

inline constexpr std::size_t kInputLineMax = 139;  // delimiter and fixed-length layouts, line end included
inline constexpr std::size_t kCasio1LineMax = 98;  // line end included
inline constexpr std::size_t kCasio1LineMin = 50;  // a shorter line ends the reading
inline constexpr std::size_t kOldRestMax = 98;     // the old layout's name line, line end included
inline constexpr std::size_t kOldCodeMax = 16;
inline constexpr std::size_t kOldNameMax = 40;
inline constexpr std::size_t kAlignedCodeWidth = 16;  // a code from delimiter field 2..4, right-aligned

// Odd_Char_ISK splits the line; Odd1_ISK..Odd4_ISK say what each field holds.
unsigned ParseDelimitedInput(InputFile& in, const LocalSettings& settings, Ui& ui, RecordSink& out);
// The spans KOD_, CEN_, POC_, NAZ_ (start, length).
unsigned ParseFixedInput(InputFile& in, const LocalSettings& settings, Ui& ui, RecordSink& out);
unsigned ParseCasio1Input(InputFile& in, const LocalSettings& settings, Ui& ui, RecordSink& out);
unsigned ParseOldInput(InputFile& in, const LocalSettings& settings, Ui& ui, RecordSink& out);

using InputParser = unsigned (*)(InputFile&, const LocalSettings&, Ui&, RecordSink&);
// The parser of the chosen layout, the flags tested in the order CASIO 1, old, fixed, delimiter;
// null when no layout is chosen.
InputParser chooseInputParser(const LocalSettings& settings);

}  // namespace nodra
