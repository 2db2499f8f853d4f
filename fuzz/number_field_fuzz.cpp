// CheckNumberField on any text, under a decimal-comma locale, against a plain reading of the number rule:
// spaces, an optional sign, digits, optionally a mark and digits, optionally an exponent, spaces, nothing else;
// at least one digit or the mark; the value converted as a double and narrowed to 32 bits, which must hold it.
#include <fuzzer/FuzzedDataProvider.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "fill/number_field.h"
#include "fuzz_support.h"
#include "support/decimal_comma_locale.h"
#include "support/recording_ui.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<float> reference(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  std::string number;
  // from_chars takes a minus sign only.
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') number.push_back('-');
    ++i;
  }
  std::size_t digits = 0;
  std::string whole;
  while (i < n && isDigit(text[i])) whole.push_back(text[i++]), ++digits;
  bool mark = false;
  std::string fraction;
  if (i < n && (text[i] == '.' || text[i] == ',')) {
    mark = true;
    ++i;
    while (i < n && isDigit(text[i])) fraction.push_back(text[i++]), ++digits;
  }
  if (digits == 0 && !mark) return std::nullopt;
  std::string exponent;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) exponent.push_back(text[i++]);
    std::size_t expDigits = 0;
    while (i < n && isDigit(text[i])) exponent.push_back(text[i++]), ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return std::nullopt;
  if (digits == 0) return 0.0f;
  number += (whole.empty() ? "0" : whole) + "." + (fraction.empty() ? "0" : fraction);
  if (!exponent.empty()) number += "e" + exponent;
  double value = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // from_chars says out of range both ways: a tiny value is 0, a huge one no number. The power of ten of
    // the first significant digit tells which.
    const std::string digitsText = whole + fraction;
    const auto first = static_cast<long long>(digitsText.find_first_not_of('0'));
    long long exp10 = 0;
    for (char c : exponent) {
      if (isDigit(c) && exp10 < 1000000000) exp10 = exp10 * 10 + (c - '0');
    }
    if (!exponent.empty() && exponent[0] == '-') exp10 = -exp10;
    if (static_cast<long long>(whole.size()) - 1 - first + exp10 > 0) return std::nullopt;
    value = 0;
  } else if (ec != std::errc{} || end != number.data() + number.size()) {
    return std::nullopt;
  }
  if (std::fabs(value) >= 0x1.ffffffp+127) return std::nullopt;
  return static_cast<float>(value);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The number rule must not depend on the locale the window runs under.
  nodra::testing::useLocale("sk_SK.UTF-8");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<float> expected = reference(text);

  nodra::testing::RecordingUi ui{nodra::testing::RecordingUi::Mode::Quiet};
  float value = -1;
  std::string field = text;
  const bool isNumber = nodra::CheckNumberField(ui, 0, 7, field, value);
  NODRA_FUZZ_CHECK(isNumber == expected.has_value());
  NODRA_FUZZ_CHECK(field.find(',') == std::string::npos);
  NODRA_FUZZ_CHECK(ui.messageCount() == (isNumber ? 0u : 1u));
  if (isNumber) {
    NODRA_FUZZ_CHECK(std::isfinite(value));
    NODRA_FUZZ_CHECK(std::memcmp(&value, &*expected, sizeof value) == 0 || (value == 0 && *expected == 0));
  }
  // Silenced, the same verdict without a message.
  field = text;
  NODRA_FUZZ_CHECK(nodra::CheckNumberField(ui, 1, 7, field) == isNumber);
  NODRA_FUZZ_CHECK(ui.messageCount() == (isNumber ? 0u : 1u));
  return 0;
}
