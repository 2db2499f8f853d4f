#pragma once
// A fingerprint of a store's bytes, taken while the store is read anyway: it tells the second pass over the main
// store that it reads the same bytes as the first, so the first pass's conversion can stand.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/file_place.h"

namespace nodra {

class StoreDigest {
 public:
  StoreDigest();
  StoreDigest(StoreDigest&&) noexcept;
  StoreDigest& operator=(StoreDigest&&) noexcept;
  ~StoreDigest();

  void add(const char* bytes, std::size_t size);

  struct Value {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::uint64_t size = 0;
    bool operator==(const Value&) const = default;
  };
  Value value() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::uint64_t size_ = 0;
};

// The digest of a whole file. False when it cannot be opened (`error` says why) or read (`readError` is the errno).
bool digestFile(const FilePlace& file, StoreDigest::Value& value, FileError& error, int& readError);

}  // namespace nodra
