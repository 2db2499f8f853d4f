#pragma once
// The terminal's input record file ("tmp_out.txt", copied to the card as data\data_in.txt): one line per
// record, "code;price;count;name" and CR LF, numbers with "." whatever the locale.
#include <string>
#include <vector>

#include "fill/code_table.h"
#include "fill/input_record.h"
#include "platform/atomic_file.h"

namespace nodra {

// The decimals written for a PDM_PRICE or PDM_COUNT value: 1 and 3 as given, anything else 2 (0 included).
int recordDecimals(int pdm);

// Fixed point with `decimals` places (0 to 3), the 32-bit value's exact amount rounded half to even as the
// C library's fixed-point printing does; "-" for negative values (also when they round to 0).
void appendFixed(std::string& out, float value, int decimals);

// One line of the file; the name as it stands (already translated).
void appendRecordLine(std::string& out, const InputRecord& record, int priceDecimals, int countDecimals);

// Writes the records as they come, so that the file needs no table of them; the target is replaced only
// by commit(). Without a file (open failed) it still counts the records.
class RecordFileWriter final : public RecordSink {
 public:
  RecordFileWriter(const CodeTable& table, int pdmPrice, int pdmCount);

  bool open(const FilePlace& target);
  void add(InputRecord& record) override;  // translates the record's name in place
  // True when the file was opened, every line written and the old file replaced.
  bool commit();
  // Drops what was written: the old file stays.
  void discard() { file_.discard(); }

  unsigned count() const { return count_; }
  const FileError& error() const { return error_; }

 private:
  const CodeTable& table_;
  bool identity_;  // names pass unchanged: no need to look each byte up
  int priceDecimals_;
  int countDecimals_;
  AtomicFileWriter file_;
  bool ok_ = false;
  unsigned count_ = 0;
  void flush();

  static constexpr std::size_t kBatch = 1 << 16;
  std::vector<char> lines_;  // written in batches
  std::size_t used_ = 0;
  FileError error_;
};

}  // namespace nodra
