#pragma once
// The non-zero file that the first conversion of the main store writes alongside, kept pending for the second
// pass over the same store. The second pass still copies and reads the store; when it reads the bytes the first
// pass read, it shows the same progress and warnings and puts this file in place instead of converting again.
#include <string>
#include <string_view>
#include <vector>

#include "store/store_digest.h"

namespace nodra {

class SecondPassCarry {
 public:
  // Past this many warnings the first pass stops keeping them and the second pass converts on its own.
  static constexpr std::size_t kWarningLimit = 4096;

  struct Warning {
    unsigned record;  // the record line it came with, from 1
    std::string code;
  };

  virtual ~SecondPassCarry() = default;
  // Drops the pending file; the second pass then converts as usual.
  virtual void abandon() = 0;
  // The first pass goes on without it; the carry stays (the reader still adds to its digest) but is not used.
  void giveUp() {
    usable = false;
    abandon();
  }

  StoreDigest digest;  // of every byte the first pass read
  bool usable = true;
  unsigned records = 0;
  unsigned written = 0;  // items in the pending file

  void warn(std::string_view code) {
    if (warnings_.size() >= kWarningLimit) {
      giveUp();
      return;
    }
    warnings_.push_back({records, std::string(code)});
  }
  const std::vector<Warning>& warnings() const { return warnings_; }

 private:
  std::vector<Warning> warnings_;
};

}  // namespace nodra
