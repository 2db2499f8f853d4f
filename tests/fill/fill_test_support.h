#pragma once
// The shared test support, and the fill's records as the test output shows them.
#include <ostream>

#include "fill/input_record.h"
#include "support/decimal_comma_locale.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"

namespace nodra {

inline void PrintTo(const InputRecord& r, std::ostream* os) {
  *os << "{\"" << r.code << "\", " << r.price << ", " << r.count << ", \"" << r.name << "\"}";
}

}  // namespace nodra
