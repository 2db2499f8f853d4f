#include "store/store_fields.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nodra {

namespace {

// Lines are split 64 bytes at a time: bit i of a mask stands for byte i of the chunk.
constexpr std::size_t kChunk = 64;
constexpr std::size_t kBlock = 16;
static_assert(kChunk <= kStoreReadSlack, "a chunk begins inside the read");

struct ChunkMasks {
  std::uint64_t separators;  // ";"
  std::uint64_t dropped;     // outside 32..126
};

ChunkMasks chunkMasks(const char* chunk, bool keepAccented) {
  ChunkMasks masks{0, 0};
#if defined(__SSE2__)
  const __m128i high = keepAccented ? _mm_set1_epi8(-1) : _mm_setzero_si128();
  const auto part = [&masks, chunk, high](int at) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chunk + at));
    // Compared as signed bytes, so every byte from 128 up lies below 32 as well, unless accents are kept.
    const __m128i below = _mm_andnot_si128(_mm_and_si128(high, _mm_cmplt_epi8(bytes, _mm_setzero_si128())),
                                           _mm_cmplt_epi8(bytes, _mm_set1_epi8(32)));
    const __m128i dropped = _mm_or_si128(below, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(127)));
    const __m128i separators = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(';'));
    masks.separators |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(separators))} << at;
    masks.dropped |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(dropped))} << at;
  };
  part(0);
  part(16);
  part(32);
  part(48);
#else
  for (std::size_t i = 0; i < kChunk; ++i) {
    const auto c = static_cast<unsigned char>(chunk[i]);
    if (c == ';') masks.separators |= std::uint64_t{1} << i;
    if (c < 32 || c == 127 || (c > 127 && !keepAccented)) masks.dropped |= std::uint64_t{1} << i;
  }
#endif
  return masks;
}

constexpr auto kKept = [] {
  std::array<unsigned char, 256> kept{};
  for (int c = 32; c <= 126; ++c) kept[static_cast<std::size_t>(c)] = 1;
  return kept;
}();
constexpr auto kKeptWithAccents = [] {
  std::array<unsigned char, 256> kept = kKept;
  for (int c = 128; c <= 255; ++c) kept[static_cast<std::size_t>(c)] = 1;
  return kept;
}();

std::string_view withoutTrailingSpaces(const char* text, std::size_t length) {
  while (length > 0 && text[length - 1] == ' ') --length;
  return {text, length};
}

}  // namespace

StoreFields::StoreFields(bool keepAccented) : keepAccented_(keepAccented) { reserveFor(kStoreLineMax); }

void StoreFields::reserveFor(std::size_t lineLength) {
  if (fields_.size() > lineLength) return;
  // Kept runs are moved in whole blocks.
  text_.resize(lineLength + kBlock);
  fields_.resize(lineLength + 1);
}

int StoreFields::split(std::string_view line) { return split(line, false); }

int StoreFields::splitRead(std::string_view read) { return split(read, true); }

// A field without characters to drop is a view into the line; the others are copied without them.
int StoreFields::split(std::string_view line, bool slackAfter) {
  const char* const data = line.data();
  const std::size_t n = line.size();
  reserveFor(n);
  char* text = text_.data();
  int count = 0;
  std::size_t fieldStart = 0;
  bool dropping = false;  // the field so far holds a character to drop
  for (std::size_t base = 0; base < n; base += kChunk) {
    // Without slack, a line's last part is looked at in a copy, so that nothing past the line is read.
    char tail[kChunk];
    const char* chunk = data + base;
    std::uint64_t inLine = ~std::uint64_t{0};
    if (n - base < kChunk) {
      if (!slackAfter) {
        std::memset(tail, 0, kChunk);
        std::memcpy(tail, chunk, n - base);
        chunk = tail;
      }
      inLine = (std::uint64_t{1} << (n - base)) - 1;
    }
    ChunkMasks masks = chunkMasks(chunk, keepAccented_);
    masks.separators &= inLine;
    masks.dropped &= inLine;
    while (masks.separators != 0) {
      const int i = std::countr_zero(masks.separators);
      masks.separators &= masks.separators - 1;
      const std::uint64_t before = (std::uint64_t{1} << i) - 1;
      std::uint64_t drops = masks.dropped & before;
      dropping = dropping || drops != 0;
      masks.dropped &= ~before;
      const std::size_t fieldEnd = base + static_cast<std::size_t>(i);
      const char* const field = data + fieldStart;
      std::size_t length = fieldEnd - fieldStart;
      if (!dropping) {
        fields_[static_cast<std::size_t>(count++)] =
            withoutTrailingSpaces(field, length < kStoreFieldMax ? length : kStoreFieldMax);
      } else if (slackAfter && fieldStart >= base) {
        // Within one chunk the kept runs between the dropped characters are moved sixteen bytes at a time.
        char* out = text;
        std::size_t from = fieldStart - base;
        const char* const chunkStart = data + base;
        for (;;) {
          const std::size_t to =
              drops != 0 ? static_cast<std::size_t>(std::countr_zero(drops)) : static_cast<std::size_t>(i);
          for (std::size_t k = 0; k < to - from; k += kBlock) std::memcpy(out + k, chunkStart + from + k, kBlock);
          out += to - from;
          if (drops == 0) break;
          drops &= drops - 1;
          from = to + 1;
        }
        auto kept = static_cast<std::size_t>(out - text);
        if (kept > kStoreFieldMax) kept = kStoreFieldMax;
        fields_[static_cast<std::size_t>(count++)] = withoutTrailingSpaces(text, kept);
        text += kept;
      } else {
        // Every character is written; the count moves on over the kept ones.
        const auto& keptTable = keepAccented_ ? kKeptWithAccents : kKept;
        std::size_t kept = 0;
        for (std::size_t k = 0; k < length; ++k) {
          text[kept] = field[k];
          kept += keptTable[static_cast<unsigned char>(field[k])];
        }
        if (kept > kStoreFieldMax) kept = kStoreFieldMax;
        fields_[static_cast<std::size_t>(count++)] = withoutTrailingSpaces(text, kept);
        text += kept;
      }
      fieldStart = fieldEnd + 1;
      dropping = false;
    }
    dropping = dropping || masks.dropped != 0;
  }
  count_ = count;
  return count;
}

}  // namespace nodra
