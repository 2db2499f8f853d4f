#include "platform/utf8_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/cp1250.h"
#include "platform/integer_text.h"

namespace nodra {

namespace {

constexpr std::size_t kListed = 10;

// How a lead byte starts a sequence: the continuation bytes it wants (-1: not a lead byte), its value bits
// and the smallest value its length may carry.
struct Lead {
  int continuations;
  char32_t value;
  char32_t minimum;
};

Lead lead(unsigned char b) {
  if (b < 0x80) return {0, b, 0};
  if ((b & 0xE0) == 0xC0) return {1, static_cast<char32_t>(b & 0x1F), 0x80};
  if ((b & 0xF0) == 0xE0) return {2, static_cast<char32_t>(b & 0x0F), 0x800};
  if ((b & 0xF8) == 0xF0) return {3, static_cast<char32_t>(b & 0x07), 0x10000};
  return {-1, 0, 0};
}

bool acceptable(char32_t c, char32_t minimum) { return c >= minimum && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF); }

}  // namespace

void Utf8Check::feed(const char* data, std::size_t size) {
  for (std::size_t i = 0; i < size && valid_; ++i) {
    // Plain ASCII, the bulk of any goods list, eight bytes at a time.
    while (pending_ == 0 && i + 8 <= size) {
      std::uint64_t word;
      std::memcpy(&word, data + i, 8);
      if ((word & 0x8080808080808080ull) != 0) break;
      i += 8;
    }
    if (i >= size) break;
    const auto b = static_cast<unsigned char>(data[i]);
    if (pending_ > 0) {
      if ((b & 0xC0) != 0x80) {
        valid_ = false;
        return;
      }
      value_ = (value_ << 6) | (b & 0x3F);
      if (--pending_ == 0 && !acceptable(value_, minimum_)) valid_ = false;
      continue;
    }
    if (b < 0x80) continue;
    const Lead l = lead(b);
    if (l.continuations < 0) {
      valid_ = false;
      return;
    }
    multiByte_ = true;
    pending_ = l.continuations;
    value_ = l.value;
    minimum_ = l.minimum;
  }
}

void Utf8ToCp1250::replaced(std::string& out) {
  out.push_back('?');
  if (lastReplacedLine_ == line_) return;
  lastReplacedLine_ = line_;
  ++linesReplaced_;
  if (everyLine_ || firstLines_.size() < kListed) firstLines_.push_back(line_);
}

void Utf8ToCp1250::convert(const char* data, std::size_t size, std::string& out) {
  for (std::size_t i = 0; i < size; ++i) {
    const auto b = static_cast<unsigned char>(data[i]);
    if (pending_ > 0) {
      if ((b & 0xC0) == 0x80) {
        value_ = (value_ << 6) | (b & 0x3F);
        if (--pending_ > 0) continue;
        if (!acceptable(value_, minimum_)) {
          replaced(out);
          continue;
        }
        if (auto c = cp1250::fromUnicode(value_)) {
          out.push_back(*c);
        } else {
          replaced(out);
        }
        continue;
      }
      // A sequence cut short: it counts as one character, and this byte starts afresh.
      pending_ = 0;
      replaced(out);
    }
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      if (b == '\n') ++line_;
      continue;
    }
    const Lead l = lead(b);
    if (l.continuations < 0) {
      replaced(out);
      continue;
    }
    pending_ = l.continuations;
    value_ = l.value;
    minimum_ = l.minimum;
  }
}

void Utf8ToCp1250::finish(std::string& out) {
  if (pending_ == 0) return;
  pending_ = 0;
  replaced(out);
}

std::string lineListText(const std::vector<unsigned>& first, unsigned total) {
  std::string text;
  const std::size_t listed = std::min(first.size(), kListed);
  for (std::size_t i = 0; i < listed; ++i) {
    if (i > 0) text += ", ";
    text += intToText(first[i]);
  }
  if (total > listed) text += " a ďalších " + intToText(static_cast<long long>(total - listed));
  return text;
}

}  // namespace nodra
