#pragma once
// Synthetic terminal stores for benchmarks: deterministic for a seed, in the terminal's own record layouts
// (Windows-1250 text, ";" after every field, CR LF).
#include <cstdint>
#include <ostream>
#include <string_view>

namespace nodra::bench {

enum class StoreKind { MainStore, Report, VpStore };  // DATA_OUT.TXT, ZOST_OUT.TXT, VP_OUT.TXT

// "data", "zost" or "vp"; false for any other name.
bool storeKindFromName(std::string_view name, StoreKind& kind);

// Writes `items` records: EAN-13 codes, Slovak names, prices with two decimals, quantities (about one in five
// zero, some weights with three decimals).
void writeSyntheticStore(std::ostream& out, StoreKind kind, std::uint64_t items, std::uint32_t seed);

}  // namespace nodra::bench
