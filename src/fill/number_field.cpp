#include "fill/number_field.h"

#include <bit>
#include <boost/lexical_cast.hpp>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "platform/short_text.h"

namespace nodra {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Magnitude of a number from_chars found out of range: true when it is too large (rather than too small).
bool isTooLarge(std::string_view mantissa, std::string_view exponent) {
  long long exp10 = 0;
  bool negativeExp = false;
  std::size_t i = 0;
  if (i < exponent.size() && (exponent[i] == '+' || exponent[i] == '-')) negativeExp = exponent[i++] == '-';
  for (; i < exponent.size(); ++i) {
    if (exp10 < 100000000) exp10 = exp10 * 10 + (exponent[i] - '0');
  }
  if (negativeExp) exp10 = -exp10;
  // The decimal position of the first non-zero digit, counted from the mark.
  long long position = 0;
  std::size_t point = mantissa.find_first_of(".,");
  if (point == std::string_view::npos) point = mantissa.size();
  for (std::size_t k = 0; k < mantissa.size(); ++k) {
    if (mantissa[k] >= '1' && mantissa[k] <= '9') {
      position = k < point ? static_cast<long long>(point - k) : -static_cast<long long>(k - point) + 1;
      break;
    }
  }
  return position + exp10 > 0;
}

}  // namespace

bool parseNumberText(std::string_view text, float& result) {
  const std::size_t n = text.size();
  // The usual "12,50" or "   3": one to eight digits and marks after spaces and a sign, as one word.
  if constexpr (std::endian::native == std::endian::little) {
    std::size_t first = 0;
    std::size_t last = n;
    while (first < last && text[first] == ' ') ++first;
    while (last > first && text[last - 1] == ' ') --last;
    const bool negative = first < last && text[first] == '-';
    if (first < last && (text[first] == '-' || text[first] == '+')) ++first;
    std::uint64_t mantissa = 0;
    std::size_t fractionDigits = 0;
    if (last - first >= 1 && last - first <= 8 &&
        short_text::decimal(text.data() + first, last - first, true, mantissa, fractionDigits)) {
      const auto narrowed = static_cast<float>(static_cast<double>(mantissa) / kPowersOf10[fractionDigits]);
      result = negative ? -narrowed : narrowed;
      return true;
    }
  }
  std::size_t i = 0;
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t mantissaStart = i;
  // The digits as one whole number while they fit; `scale` counts those after the mark.
  std::uint64_t digitsValue = 0;
  int significant = 0;
  int scale = 0;
  std::size_t digits = 0;
  auto takeDigits = [&](bool afterMark) {
    while (i < n && isDigit(text[i])) {
      if (significant < 19) {
        digitsValue = digitsValue * 10 + static_cast<unsigned>(text[i] - '0');
        if (digitsValue != 0) ++significant;
        if (afterMark) ++scale;
      } else if (!afterMark) {
        --scale;  // a digit left out before the mark still counts tenfold
      }
      ++i;
      ++digits;
    }
  };
  takeDigits(false);
  bool mark = false;
  if (i < n && (text[i] == '.' || text[i] == ',')) {
    mark = true;
    ++i;
    takeDigits(true);
  }
  if (digits == 0 && !mark) return false;
  const std::size_t mantissaEnd = i;
  std::size_t exponentStart = i;
  long exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    exponentStart = ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    std::size_t expDigits = 0;
    while (i < n && isDigit(text[i])) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
      ++i;
      ++expDigits;
    }
    if (expDigits == 0) return false;
    if (negativeExponent) exponent = -exponent;
  }
  const std::size_t numberEnd = i;
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return false;
  // A lone mark: the conversion finds no digits and gives 0.
  if (digits == 0) {
    result = 0.0f;
    return true;
  }

  double value = 0;
  const long power = exponent - scale;
  if (significant <= 15 && power >= -22 && power <= 22) {
    // Both operands are exact doubles, so one correctly rounded operation gives what a full conversion gives.
    const auto whole = static_cast<double>(digitsValue);
    value = power >= 0 ? whole * kPowersOf10[power] : whole / kPowersOf10[-power];
  } else {
    // The long way, for many digits or a large exponent; it knows only "." as the mark.
    std::string number(text.substr(mantissaStart, numberEnd - mantissaStart));
    for (char& c : number) {
      if (c == ',') c = '.';
    }
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
      std::string_view mantissa = text.substr(mantissaStart, mantissaEnd - mantissaStart);
      std::string_view exponentText =
          exponentStart < numberEnd ? text.substr(exponentStart, numberEnd - exponentStart) : std::string_view{};
      if (isTooLarge(mantissa, exponentText)) return false;
      value = 0;  // below the smallest value: it becomes 0
    } else if (ec != std::errc{} || end != number.data() + number.size()) {
      return false;
    }
  }
  // Beyond the 32-bit range the narrowed value would be infinite, which no file can hold.
  if (std::fabs(value) >= 0x1.ffffffp+127) return false;
  const auto narrowed = static_cast<float>(value);
  result = negative ? -narrowed : narrowed;
  return true;
}

namespace {
void showNumberWarning(Ui& ui, unsigned recordNumber, const std::string& text, Outcome outcome) {
  Message m = failureMessage("Chyba číselnej premennej na riadku " + boost::lexical_cast<std::string>(recordNumber) +
                             " (" + text + ")");
  m.outcome = outcome;
  if (outcome == Outcome::Failure) {
    m.lineProblem = LineProblem{recordNumber, "Chyba číselnej premennej", text};
  } else {
    m.lineProblem = LineProblem{recordNumber, "Prázdny riadok, nič sa z neho neprenesie", std::nullopt};
  }
  ui.message(m);
}
}  // namespace

bool CheckNumberField(Ui& ui, int hlaska_data_in, unsigned recordNumber, std::string& text, float& value) {
  for (char& c : text) {
    if (c == ',') c = '.';
  }
  if (parseNumberText(text, value)) return true;
  if (hlaska_data_in != 0) {
    ui.note(Outcome::Failure);
    return false;
  }
  showNumberWarning(ui, recordNumber, text, Outcome::Failure);
  return false;
}

void reportBlankLine(Ui& ui, int hlaska_data_in, unsigned recordNumber, std::string text) {
  if (hlaska_data_in != 0) return;
  for (char& c : text) {
    if (c == ',') c = '.';
  }
  showNumberWarning(ui, recordNumber, text, Outcome::Info);
}

bool CheckNumberField(Ui& ui, int hlaska_data_in, unsigned recordNumber, std::string& text) {
  float ignored = 0;
  return CheckNumberField(ui, hlaska_data_in, recordNumber, text, ignored);
}

}  // namespace nodra
