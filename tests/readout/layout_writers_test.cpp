#include "readout/layout_writers.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "readout_fixture.h"

namespace nodra {
namespace {

enum class Layout { Delimited, Fixed, Casio, Old };

struct ItemData {
  std::string code;
  float price;
  float quantity;
  std::string name;
  std::uint32_t documentNumber = 0;
};

struct WriterCase {
  const char* label;
  Layout layout;
  ItemData item;
  void (*adjust)(LocalSettings&);
  std::string expected;
  bool documentColumn = false;
};
void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.label; }

void keep(LocalSettings&) {}

std::string spaces(std::size_t n) { return std::string(n, ' '); }

// '|' stands for the byte 0.
std::string withNul(std::string text) {
  for (char& c : text) {
    if (c == '|') c = '\0';
  }
  return text;
}

class LayoutWriters : public ::testing::TestWithParam<WriterCase> {};

TEST_P(LayoutWriters, WriteTheLine) {
  const WriterCase& c = GetParam();
  LocalSettings layout;
  c.adjust(layout);
  OutputItem item;
  item.code = c.item.code;
  item.price = c.item.price;
  item.quantity = c.item.quantity;
  item.name = c.item.name;
  item.documentNumber = c.item.documentNumber;
  std::string out = "before|";  // writers append
  switch (c.layout) {
    case Layout::Delimited: WriteDelimitedLine(out, item, layout, c.documentColumn); break;
    case Layout::Fixed: WriteFixedLine(out, item, layout, c.documentColumn); break;
    case Layout::Casio: WriteCasioLine(out, item); break;
    case Layout::Old: WriteOldLine(out, item, layout); break;
  }
  EXPECT_EQ(out, "before|" + c.expected);
}

const ItemData kMilk{"4711", 12.5f, 3.0f, "Mlieko"};
const std::string k20 = "ABCDEFGHIJKLMNOPQRST";

INSTANTIATE_TEST_SUITE_P(
    Delimited, LayoutWriters,
    ::testing::Values(
        WriterCase{"example", Layout::Delimited, {"47 11", 12.5f, 3.0f, "Mlieko"}, keep, "4711;12.50;3.00;Mlieko\r\n"},
        WriterCase{"negative", Layout::Delimited, {"X", -0.5f, -1.5f, "N"}, keep, "X;-0.50;-1.50;N\r\n"},
        WriterCase{"decimals 0 and 3",
                   Layout::Delimited,
                   {"X", 12.5f, 12.7f, "N"},
                   [](LocalSettings& s) { s.PDM1_OSK = 0, s.PDM2_OSK = 3; },
                   "X;12.500;13;N\r\n"},
        WriterCase{"decimals 1 rounds",
                   Layout::Delimited,
                   {"X", 1.005f, 3.14159f, "N"},
                   [](LocalSettings& s) { s.PDM1_OSK = 1; },
                   "X;1.00;3.1;N\r\n"},
        WriterCase{"decimals outside 0 to 3", Layout::Delimited, kMilk,
                   [](LocalSettings& s) { s.PDM1_OSK = -1, s.PDM2_OSK = 4; }, "4711;;;Mlieko\r\n"},
        WriterCase{"separator byte 0", Layout::Delimited, kMilk, [](LocalSettings& s) { s.Odd_Char_OSK = 0; },
                   withNul("4711|12.50|3.00|Mlieko\r\n")},
        WriterCase{"other separator", Layout::Delimited, kMilk, [](LocalSettings& s) { s.Odd_Char_OSK = '\t'; },
                   "4711\t12.50\t3.00\tMlieko\r\n"},
        WriterCase{"field at two positions", Layout::Delimited, kMilk,
                   [](LocalSettings& s) { s.Odd1_OSK = 3, s.Odd4_OSK = 3; }, "Mlieko;12.50;3.00;Mlieko\r\n"},
        WriterCase{"no valid selection", Layout::Delimited, kMilk,
                   [](LocalSettings& s) { s.Odd2_OSK = -1, s.Odd4_OSK = 7; }, "4711;;3.00;\r\n"},
        WriterCase{"long code and name whole",
                   Layout::Delimited,
                   {k20, 1.0f, 1.0f, k20 + k20},
                   keep,
                   k20 + ";1.00;1.00;" + k20 + k20 + "\r\n"},
        WriterCase{"document column",
                   Layout::Delimited,
                   {"4711", 12.5f, 3.0f, "Mlieko", 42},
                   [](LocalSettings& s) { s.WriteCisloDokladu = true; },
                   "4711;12.50;3.00;Mlieko;42\r\n",
                   true},
        WriterCase{"document column not asked",
                   Layout::Delimited,
                   {"4711", 12.5f, 3.0f, "Mlieko", 42},
                   [](LocalSettings& s) { s.WriteCisloDokladu = true; },
                   "4711;12.50;3.00;Mlieko\r\n"},
        WriterCase{"document column asked, flag off",
                   Layout::Delimited,
                   {"4711", 12.5f, 3.0f, "Mlieko", 42},
                   keep,
                   "4711;12.50;3.00;Mlieko\r\n",
                   true}),
    [](const auto& p) { return testing::caseName(p.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Fixed, LayoutWriters,
    ::testing::Values(
        WriterCase{"example", Layout::Fixed, kMilk, keep, spaces(11) + "4711" + "   12.50" + "    3.00" + "Mlieko\r\n"},
        WriterCase{"inner space kept",
                   Layout::Fixed,
                   {"47 11", 1.0f, 1.0f, ""},
                   keep,
                   spaces(10) + "47 11" + "    1.00" + "    1.00" + "\r\n"},
        WriterCase{"code cut on the left",
                   Layout::Fixed,
                   {k20, 1.0f, 1.0f, ""},
                   keep,
                   "FGHIJKLMNOPQRST" + std::string("    1.00    1.00\r\n")},
        WriterCase{"number longer than width",
                   Layout::Fixed,
                   {"1", 123456.789f, -1.5f, "N"},
                   keep,
                   spaces(14) + "1" + "123456.79" + "   -1.50" + "N\r\n"},
        WriterCase{"name cut to width",
                   Layout::Fixed,
                   {"1", 0.0f, 0.0f, std::string(45, 'n')},
                   keep,
                   spaces(14) + "1" + "    0.00    0.00" + std::string(39, 'n') + "\r\n"},
        WriterCase{"decimals 0 and 3",
                   Layout::Fixed,
                   {"1", 2.25f, 2.6f, ""},
                   [](LocalSettings& s) { s.PDM1_OSK = 0, s.PDM2_OSK = 3; },
                   spaces(14) + "1" + "   2.250" + "       3\r\n"},
        WriterCase{"decimals outside 0 to 3",
                   Layout::Fixed,
                   {"1", 2.0f, 2.0f, ""},
                   [](LocalSettings& s) { s.PDM1_OSK = 9; },
                   spaces(14) + "1" + "    2.00" + spaces(8) + "\r\n"},
        WriterCase{"field at two positions takes the later width", Layout::Fixed, kMilk,
                   [](LocalSettings& s) {
                     s.Odd1_OSK = 3, s.Odd2_OSK = 0, s.Odd3_OSK = 1, s.Odd4_OSK = 3;
                     s.dlzka1_OSK = 5, s.dlzka2_OSK = 6, s.dlzka3_OSK = 7, s.dlzka4_OSK = 3;
                   },
                   "Mli  4711  12.50Mli\r\n"},
        WriterCase{"no valid selection", Layout::Fixed, kMilk,
                   [](LocalSettings& s) { s.Odd2_OSK = -1, s.Odd4_OSK = 4; }, spaces(11) + "4711" + "    3.00\r\n"},
        WriterCase{"width below 0 writes nothing", Layout::Fixed, kMilk, [](LocalSettings& s) { s.dlzka1_OSK = -3; },
                   "   12.50    3.00Mlieko\r\n"},
        WriterCase{"document column",
                   Layout::Fixed,
                   {"4711", 12.5f, 3.0f, "Mlieko", 42},
                   [](LocalSettings& s) { s.WriteCisloDokladu = true; },
                   spaces(11) + "4711   12.50    3.00Mlieko   42\r\n",
                   true}),
    [](const auto& p) { return testing::caseName(p.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Casio, LayoutWriters,
    ::testing::Values(WriterCase{"example",
                                 Layout::Casio,
                                 {"A 12", 1.2f, 2.5f, "x"},
                                 keep,
                                 "A12" + spaces(11) + "      2.500" + "      1.20" + "   \r\n"},
                      WriterCase{"quantity 0 writes nothing", Layout::Casio, {"A", 1.0f, 0.0f, ""}, keep, ""},
                      WriterCase{"decimals settings do not apply",
                                 Layout::Casio,
                                 {"A", 1.0f, 1.0f, ""},
                                 [](LocalSettings& s) { s.PDM1_OSK = 0, s.PDM2_OSK = 0; },
                                 "A" + spaces(13) + "      1.000" + "      1.00" + "   \r\n"},
                      WriterCase{"negative and long code",
                                 Layout::Casio,
                                 {k20, 1234.567f, -1.0f, ""},
                                 keep,
                                 k20 + "     -1.000" + "   1234.57" + "   \r\n"}),
    [](const auto& p) { return testing::caseName(p.param.label); });

INSTANTIATE_TEST_SUITE_P(Old, LayoutWriters,
                         ::testing::Values(WriterCase{"example",
                                                      Layout::Old,
                                                      {"4711", 12.5f, 1.5f, "Mlieko"},
                                                      [](LocalSettings& s) { s.PDM1_OSK = 3, s.PDM2_OSK = 2; },
                                                      spaces(12) + "4711" + "00001500" + "    1250" + "Mlieko\r\n"},
                                           WriterCase{"step of 0.05 rounds 2.97 up",
                                                      Layout::Old,
                                                      {"", 0.0f, 2.97f, ""},
                                                      [](LocalSettings& s) { s.PDM1_OSK = 0, s.PDM2_OSK = 0; },
                                                      spaces(16) + "00000003" + "       0" + "\r\n"},
                                           WriterCase{"step of 0.05 cuts 2.94 down",
                                                      Layout::Old,
                                                      {"", 2.94f, 2.94f, ""},
                                                      [](LocalSettings& s) { s.PDM1_OSK = 0, s.PDM2_OSK = 0; },
                                                      spaces(16) + "00000002" + "       2" + "\r\n"},
                                           WriterCase{"negative",
                                                      Layout::Old,
                                                      {"47 11", -2.5f, -1.5f, "N"},
                                                      [](LocalSettings& s) { s.PDM1_OSK = 3, s.PDM2_OSK = 2; },
                                                      spaces(11) + "47 11" + "-0001500" + "    -250" + "N\r\n"},
                                           WriterCase{"other decimals leave the value unscaled",
                                                      Layout::Old,
                                                      {"1", 7.0f, 7.0f, ""},
                                                      [](LocalSettings& s) { s.PDM1_OSK = 5, s.PDM2_OSK = -1; },
                                                      spaces(15) + "1" + "00000007" + "       7" + "\r\n"},
                                           WriterCase{"long code whole, name first 16",
                                                      Layout::Old,
                                                      {k20, 1.0f, 1.0f, "Mlieko polotucne 1l"},
                                                      keep,
                                                      k20 + "00000100" + "     100" + "Mlieko polotucne\r\n"},
                                           WriterCase{"beyond 32 bits",
                                                      Layout::Old,
                                                      {"1", 0.0f, 3.0e9f, ""},
                                                      [](LocalSettings& s) { s.PDM1_OSK = 0; },
                                                      spaces(15) + "1" + "-2147483648" + "       0" + "\r\n"}),
                         [](const auto& p) { return testing::caseName(p.param.label); });

// Numbers are written as printf's "%.Nf" writes them: the exact binary value rounded, ties to even.
TEST(NumberText, MatchesTheGeneralFormatterForDecimals0To3) {
  std::vector<float> values = {0.125f,  0.375f, 2.5f,        3.5f,        -2.5f,      0.005f, 1.005f,  0.0005f, -0.0f,
                               -0.001f, 1e-40f, 16777216.0f, 123456.789f, 9.0072e15f, 1e16f,  3.4e38f, -3.4e38f};
  for (int i = -20000; i <= 20000; i += 7) values.push_back(static_cast<float>(i) / 1000.0f);
  std::mt19937 random(7);
  for (int i = 0; i < 20000; ++i) {
    auto bits = static_cast<std::uint32_t>(random());
    float f;
    std::memcpy(&f, &bits, sizeof f);
    if (std::isfinite(f)) values.push_back(f);
  }
  LocalSettings layout;
  layout.Odd1_OSK = 1;
  layout.Odd2_OSK = layout.Odd3_OSK = layout.Odd4_OSK = -1;
  OutputItem item;
  for (int decimals = 0; decimals <= 3; ++decimals) {
    layout.PDM2_OSK = decimals;
    for (float value : values) {
      item.price = value;
      std::string out;
      WriteDelimitedLine(out, item, layout);
      char expected[64];
      auto [end, ec] = std::to_chars(expected, expected + sizeof expected, static_cast<double>(value),
                                     std::chars_format::fixed, decimals);
      ASSERT_EQ(ec, std::errc());
      ASSERT_EQ(out, std::string(expected, end) + ";;;\r\n") << decimals << " decimals";
    }
  }
}

// Whole parts below 10^8 take a shortcut; around that limit, and right-aligned in the fixed layout, the text
// must still be the general formatter's.
TEST(NumberText, ShortFormAgreesAroundItsLimit) {
  std::mt19937 random(8);
  std::vector<float> values = {99999999.0f, 99999992.0f, 100000000.0f, 9999999.5f, 99999.995f, 0.5f, 1.5f};
  for (int i = 0; i < 100000; ++i) {
    const double magnitude = std::pow(10.0, static_cast<double>(random() % 12000) / 1000.0 - 3.0);
    values.push_back(static_cast<float>(random() % 2 ? magnitude : -magnitude));
  }
  LocalSettings layout;
  layout.Odd1_OSK = 1;
  layout.Odd2_OSK = layout.Odd3_OSK = layout.Odd4_OSK = -1;
  layout.dlzka1_OSK = 20;
  OutputItem item;
  for (float value : values) {
    item.price = value;
    for (int decimals = 0; decimals <= 3; ++decimals) {
      layout.PDM2_OSK = decimals;
      char text[64];
      auto [end, ec] =
          std::to_chars(text, text + sizeof text, static_cast<double>(value), std::chars_format::fixed, decimals);
      ASSERT_EQ(ec, std::errc());
      const std::string expected(text, end);
      std::string out;
      WriteDelimitedLine(out, item, layout);
      ASSERT_EQ(out, expected + ";;;\r\n") << decimals << " decimals";
      out.clear();
      WriteFixedLine(out, item, layout);
      ASSERT_EQ(out, std::string(expected.size() < 20 ? 20 - expected.size() : 0, ' ') + expected + "\r\n");
    }
  }
}

}  // namespace
}  // namespace nodra
