#pragma once
// One item of the main store or the report as the formatted read-out hands it to the layout writers.
#include <cstdint>
#include <string>

#include "readout/store_line_reader.h"

namespace nodra {

struct OutputItem {
  std::string code;  // Windows-1250 bytes; the reader keeps printable ASCII only
  float price = 0.0f;
  float quantity = 0.0f;
  std::string name;
  std::uint32_t documentNumber = 0;

  OutputItem() {
    // Room for the longest field the reader keeps, so that filling an item never allocates.
    code.reserve(kStoreFieldMax);
    name.reserve(kStoreFieldMax);
  }

  // Every line starts from an empty item: a short line must not carry the previous item's values.
  void clear() {
    code.clear();
    price = 0.0f;
    quantity = 0.0f;
    name.clear();
    documentNumber = 0;
  }
};

}  // namespace nodra
