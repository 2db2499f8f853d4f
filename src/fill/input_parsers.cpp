#include "fill/input_parsers.h"

namespace nodra {

InputParser chooseInputParser(const LocalSettings& settings) {
  if (settings.CASIO1_ISK) return &ParseCasio1Input;
  if (settings.Old_ISK) return &ParseOldInput;
  if (settings.Pevna_dl_ISK) return &ParseFixedInput;
  if (settings.Odd_ISK) return &ParseDelimitedInput;
  return nullptr;
}

}  // namespace nodra
