// generate_store KIND ITEMS OUTPUT [SEED]: a synthetic terminal store for benchmarks.
// KIND is data (DATA_OUT.TXT), zost (ZOST_OUT.TXT) or vp (VP_OUT.TXT).
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string_view>

#include "synthetic_store.h"

namespace {

template <typename T>
bool parseNumber(std::string_view text, T& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  nodra::bench::StoreKind kind{};
  std::uint64_t items = 0;
  std::uint32_t seed = 3000;
  if (argc < 4 || argc > 5 || !nodra::bench::storeKindFromName(argv[1], kind) || !parseNumber(argv[2], items) ||
      (argc == 5 && !parseNumber(std::string_view(argv[4]), seed))) {
    std::cerr << "usage: generate_store data|zost|vp ITEMS OUTPUT [SEED]\n";
    return 2;
  }
  std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
  if (!out) {
    std::cerr << "generate_store: cannot create " << argv[3] << ": " << std::strerror(errno) << "\n";
    return 1;
  }
  nodra::bench::writeSyntheticStore(out, kind, items, seed);
  out.close();
  if (!out) {
    std::cerr << "generate_store: cannot write " << argv[3] << "\n";
    return 1;
  }
  return 0;
}
