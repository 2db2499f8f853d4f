#pragma once
// The fields of a terminal store's record line, by the rules the formatted and the XML read-outs share.
#include <string_view>
#include <vector>

#include "store/store_line_reader.h"

namespace nodra {

// The fields of one record line: ";" ends a field; only printable ASCII (32..126) is kept; trailing spaces
// are removed, leading ones stay; a field keeps at most kStoreFieldMax characters. Text after the last ";"
// forms no field. Reused from line to line, so that splitting allocates nothing.
class StoreFields {
 public:
  // With `keepAccented` the characters from 128 up stay too (control characters never do).
  explicit StoreFields(bool keepAccented = false);

  // Returns the number of fields. Their views point into the line (or, for a field that loses characters,
  // into this object): valid while the line is and until the next split.
  int split(std::string_view line);
  // The same for a read of StoreLineReader, which is looked at in whole blocks, past its end.
  int splitRead(std::string_view read);
  int size() const { return count_; }
  // Empty past the last field.
  std::string_view operator[](int position) const {
    return position < count_ ? fields_[static_cast<std::size_t>(position)] : std::string_view{};
  }

 private:
  void reserveFor(std::size_t lineLength);
  int split(std::string_view line, bool slackAfter);

  std::vector<char> text_;  // the kept characters of fields that lose some
  std::vector<std::string_view> fields_;
  int count_ = 0;
  bool keepAccented_ = false;
};

// The same rules, calling onField(position, text) for each field in order.
template <typename OnField>
void splitStoreFields(std::string_view line, OnField&& onField) {
  StoreFields fields;
  const int count = fields.split(line);
  for (int i = 0; i < count; ++i) onField(i, fields[i]);
}

}  // namespace nodra
