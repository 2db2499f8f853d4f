#include "fill/number_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>

#include "fill_test_support.h"

namespace nodra {
namespace {

struct NumberCase {
  const char* text;
  std::optional<float> value;  // empty: not a number
};

// The check sees the text after "," became "."; both marks are given here through CheckNumberField.
const NumberCase kNumberCases[] = {
    {"12,50", 12.5f},
    {"12.50", 12.5f},
    {"  12.5  ", 12.5f},
    {"+12.5", 12.5f},
    {"-3", -3.0f},
    {"007", 7.0f},
    {"5.", 5.0f},
    {",5", 0.5f},
    {".", 0.0f},
    {",", 0.0f},
    {"-.", 0.0f},
    {"1e3", 1000.0f},
    {"1E+2", 100.0f},
    {"25e-2", 0.25f},
    {" -1,5e1 ", -15.0f},
    {"1e-50", 0.0f},
    {"3.4e38", 3.4e38f},
    {"0.1", 0.1f},
    {"16777217", 16777216.0f},  // 32 bits keep 24 bits of it
    {"", std::nullopt},
    {"   ", std::nullopt},
    {"1.234,50", std::nullopt},
    {"1..2", std::nullopt},
    {"1 234", std::nullopt},
    {"\t5", std::nullopt},
    {"5\t", std::nullopt},
    {"5\n", std::nullopt},
    {"+", std::nullopt},
    {"-", std::nullopt},
    {"e5", std::nullopt},
    {"1e", std::nullopt},
    {"1e+", std::nullopt},
    {"1e2.5", std::nullopt},
    {"--1", std::nullopt},
    {"1-", std::nullopt},
    {"0x10", std::nullopt},
    {"12.5x", std::nullopt},
    {"1e39", std::nullopt},  // beyond the 32-bit range
    {"-1e39", std::nullopt},
    {"1e400", std::nullopt},
};

void expectNumberCases() {
  for (const auto& c : kNumberCases) {
    SCOPED_TRACE(std::string("text \"") + c.text + "\"");
    testing::RecordingUi ui;
    std::string text = c.text;
    float value = -99;
    bool ok = CheckNumberField(ui, 1, 1, text, value);
    ASSERT_EQ(ok, c.value.has_value());
    if (ok) {
      EXPECT_EQ(value, *c.value);
    }
    EXPECT_EQ(text.find(','), std::string::npos);
  }
}

TEST(NumberField, GrammarIndependentOfTheLocale) {
  expectNumberCases();
  testing::DecimalCommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no decimal-comma locale";
  expectNumberCases();
}

// The short way of converting must give what the full conversion gives, narrowed to 32 bits.
TEST(NumberField, ValueAgreesWithTheFullConversion) {
  std::mt19937 random(4711);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    int digits = 1 + pick(22);
    int mark = pick(digits + 1);
    for (int d = 0; d < digits; ++d) {
      if (d == mark) text.push_back('.');
      text.push_back(static_cast<char>('0' + (d == 0 && pick(3) == 0 ? 0 : pick(10))));
    }
    if (pick(4) == 0) text += "e" + std::to_string(pick(60) - 30);
    double full = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), full);
    ASSERT_EQ(ec, std::errc{}) << text;
    float value = -1;
    if (!(std::fabs(full) < 0x1.ffffffp+127)) {  // beyond 32 bits
      ASSERT_FALSE(parseNumberText(text, value)) << text;
      continue;
    }
    ASSERT_TRUE(parseNumberText(text, value)) << text;
    ASSERT_EQ(value, static_cast<float>(full)) << text;
    std::string comma = text;
    std::replace(comma.begin(), comma.end(), '.', ',');
    ASSERT_TRUE(parseNumberText("-" + comma, value)) << comma;
    ASSERT_EQ(value, -static_cast<float>(full)) << comma;
  }
}

// Short numbers between spaces take a shortcut; an exponent of 0 sends the same number the full way, which
// must accept and refuse the same texts and give the same 32 bits.
TEST(NumberField, ShortcutAgreesWithTheFullWay) {
  std::mt19937 random(815);
  const std::string alphabet = "  0123456789012345678901234567890123456789.,-+";
  for (int i = 0; i < 300000; ++i) {
    std::string text;
    const std::size_t length = random() % 13;
    for (std::size_t k = 0; k < length; ++k) text.push_back(alphabet[random() % alphabet.size()]);
    std::size_t coreEnd = text.size();
    while (coreEnd > 0 && text[coreEnd - 1] == ' ') --coreEnd;
    const std::string fullWay = text.substr(0, coreEnd) + "e0" + text.substr(coreEnd);
    float value = -1;
    float expected = -1;
    const bool ok = parseNumberText(text, value);
    ASSERT_EQ(ok, parseNumberText(fullWay, expected)) << text;
    if (!ok) continue;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(value), std::bit_cast<std::uint32_t>(expected)) << text;
  }
}

TEST(NumberField, ReportsTheRecordNumberAndTheChangedText) {
  testing::DecimalCommaLocale comma;  // a locale that groups digits must not reach the record number
  for (unsigned record : {7u, 12345u}) {
    testing::RecordingUi ui;
    std::string text = "12,5x";
    EXPECT_FALSE(CheckNumberField(ui, 0, record, text));
    EXPECT_EQ(text, "12.5x");
    ASSERT_EQ(ui.messages.size(), 1u);
    const Message& m = ui.messages[0];
    EXPECT_EQ(m.text, "Chyba číselnej premennej na riadku " + std::to_string(record) + " (12.5x)");
    EXPECT_EQ(m.caption, "Pozor...");
    EXPECT_EQ(m.icon, Icon::Information);
    EXPECT_FALSE(m.ownedByWindow);
    EXPECT_TRUE(m.onTop);
    EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
  }
}

TEST(NumberField, SilencedWarningStillCountsAsFailure) {
  testing::RecordingUi ui;
  std::string text = "abc";
  EXPECT_FALSE(CheckNumberField(ui, 1, 3, text));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);

  testing::RecordingUi good;
  text = "1,5";
  EXPECT_TRUE(CheckNumberField(good, 0, 3, text));
  EXPECT_TRUE(good.messages.empty());
  EXPECT_EQ(good.worstOutcome(), Outcome::Info);
}

}  // namespace
}  // namespace nodra
