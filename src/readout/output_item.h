#pragma once
// One item of the main store or the report as the formatted read-out hands it to the layout writers.
#include <cstdint>
#include <string_view>

namespace nodra {

struct OutputItem {
  std::string_view code;  // Windows-1250 bytes, held by whoever filled the item; the reader keeps printable ASCII
  float price = 0.0f;
  float quantity = 0.0f;
  std::string_view name;
  std::uint32_t documentNumber = 0;

  // Every line starts from an empty item: a short line must not carry the previous item's values.
  void clear() { *this = OutputItem{}; }
};

}  // namespace nodra
