#include "fill/record_file.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/short_text.h"

namespace nodra {

namespace {

constexpr double kPowers[] = {1, 10, 100, 1000};

}  // namespace

int recordDecimals(int pdm) { return pdm == 1 || pdm == 3 ? pdm : 2; }

namespace {

// The room a number takes below, and some: the longest float with 3 decimals has 44 characters.
constexpr std::size_t kFixedRoom = 64;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* putFixed(char* out, float value, int decimals) {
  if (decimals < 0 || decimals > 3) decimals = 2;
  // The product is exact: 24 bits of the float times at most 10 bits of the power fit a double.
  const double scaled = static_cast<double>(value) * kPowers[decimals];
  if (!(std::fabs(scaled) < 0x1p52)) {
    return std::to_chars(out, out + kFixedRoom, static_cast<double>(value), std::chars_format::fixed, decimals).ptr;
  }
  // Adding and taking away 2^52 leaves the nearest whole number, ties to the even one, as the exact decimal
  // printing of the C library rounds them.
  const double magnitude = std::fabs(scaled) + 0x1p52;
  const auto units = static_cast<std::uint64_t>(magnitude - 0x1p52);
  if (std::signbit(value)) *out++ = '-';
  // Constant divisors: the compiler turns them into multiplications.
  std::uint64_t whole = units;
  unsigned fraction = 0;
  switch (decimals) {
    case 1: whole = units / 10, fraction = static_cast<unsigned>(units % 10); break;
    case 2: whole = units / 100, fraction = static_cast<unsigned>(units % 100); break;
    case 3: whole = units / 1000, fraction = static_cast<unsigned>(units % 1000); break;
    default: break;
  }
  if (std::endian::native == std::endian::little && whole < 100000000) {
    // Eight digits at once, written whole; the leading zeros are stepped over.
    const std::uint64_t digits = short_text::eightDigits(whole);
    const int zeros = digits == 0 ? 7 : std::min(std::countr_zero(digits) / 8, 7);
    const std::uint64_t text = (digits + '0' * short_text::kOnes) >> (8 * zeros);
    std::memcpy(out, &text, 8);
    out += 8 - zeros;
  } else {
    out = std::to_chars(out, out + kFixedRoom, whole).ptr;
  }
  switch (decimals) {
    case 1:
      out[0] = '.';
      out[1] = static_cast<char>('0' + fraction);
      return out + 2;
    case 2:
      out[0] = '.';
      std::memcpy(out + 1, kDigitPairs + 2 * fraction, 2);
      return out + 3;
    case 3:
      out[0] = '.';
      out[1] = static_cast<char>('0' + fraction / 100);
      std::memcpy(out + 2, kDigitPairs + 2 * (fraction % 100), 2);
      return out + 4;
    default: return out;
  }
}

// Room for one line of the record: the texts, two numbers, the separators and the line end.
std::size_t recordLineRoom(const InputRecord& record) {
  return record.code.size() + record.name.size() + 3 * kFixedRoom;
}

char* putRecordLine(char* out, const InputRecord& record, int priceDecimals, int countDecimals) {
  out = copyShort(out, record.code);
  *out++ = ';';
  out = putFixed(out, record.price, priceDecimals);
  *out++ = ';';
  out = putFixed(out, record.count, countDecimals);
  *out++ = ';';
  out = copyShort(out, record.name);
  std::memcpy(out, "\r\n", 2);
  return out + 2;
}

}  // namespace

void appendFixed(std::string& out, float value, int decimals) {
  char text[kFixedRoom];
  out.append(text, putFixed(text, value, decimals));
}

void appendRecordLine(std::string& out, const InputRecord& record, int priceDecimals, int countDecimals) {
  const std::size_t start = out.size();
  out.resize(start + recordLineRoom(record));
  char* end = putRecordLine(out.data() + start, record, priceDecimals, countDecimals);
  out.resize(static_cast<std::size_t>(end - out.data()));
}

RecordFileWriter::RecordFileWriter(const CodeTable& table, int pdmPrice, int pdmCount)
    : table_(table),
      identity_(table == identityCodeTable()),
      priceDecimals_(recordDecimals(pdmPrice)),
      countDecimals_(recordDecimals(pdmCount)) {}

bool RecordFileWriter::open(const FilePlace& target) {
  used_ = 0;
  lines_.resize(kBatch + 1024);
  ok_ = file_.open(target, error_);
  return ok_;
}

void RecordFileWriter::add(InputRecord& record) {
  ++count_;
  if (!identity_) TranslateName(table_, record.name);
  if (!ok_) return;
  const std::size_t room = recordLineRoom(record);
  if (lines_.size() - used_ < room) {
    flush();
    if (lines_.size() < room) lines_.resize(room);
  }
  used_ = static_cast<std::size_t>(putRecordLine(lines_.data() + used_, record, priceDecimals_, countDecimals_) -
                                   lines_.data());
  if (used_ >= kBatch) flush();
}

void RecordFileWriter::flush() {
  // Batches as large as the file's own buffer go straight to the file.
  ok_ = ok_ && file_.write(std::string_view(lines_.data(), used_), error_);
  used_ = 0;
}

bool RecordFileWriter::commit() {
  flush();
  if (!ok_) {
    file_.discard();
    return false;
  }
  ok_ = file_.commit(error_);
  return ok_;
}

}  // namespace nodra
