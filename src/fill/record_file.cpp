#include "fill/record_file.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace nodra {

namespace {

constexpr double kPowers[] = {1, 10, 100, 1000};

}  // namespace

int recordDecimals(int pdm) { return pdm == 1 || pdm == 3 ? pdm : 2; }

void appendFixed(std::string& out, float value, int decimals) {
  if (decimals < 0 || decimals > 3) decimals = 2;
  // The product is exact: 24 bits of the float times at most 10 bits of the power fit a double.
  const double scaled = static_cast<double>(value) * kPowers[decimals];
  if (!(std::fabs(scaled) < 0x1p52)) {
    char text[400];
    auto [end, ec] = std::to_chars(text, text + sizeof text, static_cast<double>(value), std::chars_format::fixed,
                                   decimals);
    out.append(text, end);
    return;
  }
  // Adding and taking away 2^52 leaves the nearest whole number, ties to the even one, as the exact decimal
  // printing of the C library rounds them.
  const double magnitude = std::fabs(scaled) + 0x1p52;
  const auto units = static_cast<std::uint64_t>(magnitude - 0x1p52);
  char text[32];
  char* p = text;
  if (std::signbit(value)) *p++ = '-';
  // Constant divisors: the compiler turns them into multiplications.
  std::uint64_t whole = units;
  unsigned fraction = 0;
  switch (decimals) {
    case 1: whole = units / 10, fraction = static_cast<unsigned>(units % 10); break;
    case 2: whole = units / 100, fraction = static_cast<unsigned>(units % 100); break;
    case 3: whole = units / 1000, fraction = static_cast<unsigned>(units % 1000); break;
    default: break;
  }
  p = std::to_chars(p, text + sizeof text, whole).ptr;
  if (decimals > 0) {
    *p++ = '.';
    for (int i = decimals - 1; i >= 0; --i) {
      p[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    p += decimals;
  }
  out.append(text, static_cast<std::size_t>(p - text));
}

void appendRecordLine(std::string& out, const InputRecord& record, int priceDecimals, int countDecimals) {
  out.append(record.code);
  out.push_back(';');
  appendFixed(out, record.price, priceDecimals);
  out.push_back(';');
  appendFixed(out, record.count, countDecimals);
  out.push_back(';');
  out.append(record.name);
  out.append("\r\n");
}

RecordFileWriter::RecordFileWriter(const CodeTable& table, int pdmPrice, int pdmCount)
    : table_(table),
      identity_(table == identityCodeTable()),
      priceDecimals_(recordDecimals(pdmPrice)),
      countDecimals_(recordDecimals(pdmCount)) {}

bool RecordFileWriter::open(const std::filesystem::path& target) {
  lines_.clear();
  lines_.reserve(kBatch + 1024);
  ok_ = file_.open(target, error_);
  return ok_;
}

void RecordFileWriter::add(InputRecord& record) {
  ++count_;
  if (!identity_) TranslateName(table_, record.name);
  if (!ok_) return;
  appendRecordLine(lines_, record, priceDecimals_, countDecimals_);
  if (lines_.size() >= kBatch) flush();
}

void RecordFileWriter::flush() {
  // Batches as large as the file's own buffer go straight to the file.
  ok_ = ok_ && file_.write(lines_, error_);
  lines_.clear();
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
