#include "store/store_digest.h"

#include <cerrno>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace nodra {

struct StoreDigest::State {
  XXH3_state_t xxh;
};

StoreDigest::StoreDigest() : state_(std::make_unique<State>()) { XXH3_128bits_reset(&state_->xxh); }
StoreDigest::StoreDigest(StoreDigest&&) noexcept = default;
StoreDigest& StoreDigest::operator=(StoreDigest&&) noexcept = default;
StoreDigest::~StoreDigest() = default;

void StoreDigest::add(const char* bytes, std::size_t size) {
  XXH3_128bits_update(&state_->xxh, bytes, size);
  size_ += size;
}

StoreDigest::Value StoreDigest::value() const {
  const XXH128_hash_t hash = XXH3_128bits_digest(&state_->xxh);
  return {hash.low64, hash.high64, size_};
}

bool digestFile(const FilePlace& file, StoreDigest::Value& value, FileError& error, int& readError) {
  readError = 0;
  UniqueFd fd = openForReading(file, error);
  if (!fd) return false;
  constexpr std::size_t kChunk = 1 << 17;
  auto chunk = std::make_unique_for_overwrite<char[]>(kChunk);
  StoreDigest digest;
  for (;;) {
    const ssize_t n = readSome(fd.get(), chunk.get(), kChunk);
    if (n < 0) {
      readError = errno;
      return false;
    }
    if (n == 0) break;
    digest.add(chunk.get(), static_cast<std::size_t>(n));
  }
  value = digest.value();
  return true;
}

}  // namespace nodra
