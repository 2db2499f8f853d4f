#pragma once
// One goods record of the fill, and where the parsers deliver them: straight into the record file while it
// is written, or into a table for whoever wants them all at hand.
#include <cstddef>
#include <string>
#include <vector>

namespace nodra {

// The record's own widths; longer texts are cut when the record is accepted.
inline constexpr std::size_t kInputCodeMax = 18;
inline constexpr std::size_t kInputNameMax = 47;

struct InputRecord {
  std::string code;  // Windows-1250 bytes as the input file holds them
  float price = 0;
  float count = 0;
  std::string name;

  bool operator==(const InputRecord&) const = default;
};

class RecordSink {
 public:
  virtual ~RecordSink() = default;
  // The parsers reuse one record for every line; a sink that keeps it must copy it. It may change the name
  // (the record file translates it in place).
  virtual void add(InputRecord& record) = 0;
  // Lines that held goods the parser could not take (a bad number, a list cut short).
  void drop(unsigned lines = 1) { dropped_ += lines; }
  unsigned dropped() const { return dropped_; }

 private:
  unsigned dropped_ = 0;
};

// Any number of records, in file order.
class InputRecordTable final : public RecordSink {
 public:
  void add(InputRecord& record) override { records_.push_back(record); }
  const std::vector<InputRecord>& records() const { return records_; }
  std::size_t size() const { return records_.size(); }
  const InputRecord& operator[](std::size_t i) const { return records_[i]; }

 private:
  std::vector<InputRecord> records_;
};

}  // namespace nodra
