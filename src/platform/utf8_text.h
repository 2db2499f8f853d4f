#pragma once
// Goods lists written by Linux programs are UTF-8; the program's own text is Windows-1250. These tell the one
// from the other without reading a file into memory, and convert in pieces of any size.
#include <cstddef>
#include <string>
#include <vector>

namespace nodra {

// Follows a byte stream and says whether it is UTF-8 in the strict sense: shortest forms, no surrogates,
// nothing past U+10FFFF.
class Utf8Check {
 public:
  void feed(const char* data, std::size_t size);
  // Whether everything fed (and finished) is valid UTF-8, and whether any character took more than one byte.
  bool valid() const { return valid_ && pending_ == 0; }
  bool multiByte() const { return multiByte_; }

 private:
  bool valid_ = true;
  bool multiByte_ = false;
  int pending_ = 0;  // continuation bytes still expected
  char32_t value_ = 0;
  char32_t minimum_ = 0;  // the smallest value the sequence may encode
};

// UTF-8 in, Windows-1250 out; a sequence cut between two pieces is finished with the next. A character the
// code page lacks, or a byte that is no UTF-8, becomes "?", and the line it stood on is noted.
class Utf8ToCp1250 {
 public:
  // Appends the converted bytes to `out`; never more bytes than came in.
  void convert(const char* data, std::size_t size, std::string& out);
  // Ends the stream: an unfinished sequence at the end counts as one "?".
  void finish(std::string& out);

  // Lines (from 1) that held a character without a Windows-1250 form: the first ten (all of them after
  // keepEveryLine), and how many in all.
  const std::vector<unsigned>& firstLinesReplaced() const { return firstLines_; }
  void keepEveryLine() { everyLine_ = true; }
  unsigned linesReplaced() const { return linesReplaced_; }

 private:
  void replaced(std::string& out);

  unsigned line_ = 1;
  unsigned lastReplacedLine_ = 0;
  std::vector<unsigned> firstLines_;
  unsigned linesReplaced_ = 0;
  bool everyLine_ = false;
  int pending_ = 0;
  char32_t value_ = 0;
  char32_t minimum_ = 0;
};

// The text of lines of a report: "3, 7, 12" and, beyond the first ten, " a ďalších 5" (Windows-1250).
std::string lineListText(const std::vector<unsigned>& first, unsigned total);

}  // namespace nodra
