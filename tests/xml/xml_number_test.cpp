#include "xml/xml_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "store/store_numbers.h"
#include "xml_test_support.h"

namespace nodra {
namespace {

struct NumberCase {
  float value;
  const char* comma;  // written with the separator ","
};

// Shortest round-trip digits, general format: fixed from 0.00001 up to 15 digits before the separator.
const NumberCase kNumberCases[] = {
    {12.3f, "12,3"},    // not 12,3000001907349
    {19.99f, "19,99"},  // not 19,9899997711182
    {0.1f, "0,1"},
    {2.5f, "2,5"},
    {5.0f, "5"},
    {1200.0f, "1200"},
    {-1.5f, "-1,5"},
    {0.0f, "0"},
    {-0.0f, "0"},
    {1234.5678f, "1234,5677"},
    {16777216.0f, "16777216"},
    {0.00001f, "0,00001"},
    {0.0000123f, "0,0000123"},
    {9.9e-6f, "9,9E-6"},
    {1e-6f, "1E-6"},
    {-2.5e-7f, "-2,5E-7"},
    {1e14f, "100000000000000"},
    {123456789012345.0f, "123456790000000"},
    {1e15f, "1E15"},
    {1.25e15f, "1,25E15"},
    {1e20f, "1E20"},
    {-1e20f, "-1E20"},
    {3.4e38f, "3,4E38"},
    {1.17549435e-38f, "1,1754944E-38"},
    {1e-45f, "1E-45"},
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.comma; }

std::string format(float value, char separator) {
  std::string out;
  appendXmlNumber(out, value, separator);
  return out;
}

std::string withDot(std::string text) {
  for (char& c : text) {
    if (c == ',') c = '.';
  }
  return text;
}

class XmlNumberFormat : public ::testing::TestWithParam<NumberCase> {};

TEST_P(XmlNumberFormat, WritesShortestGeneralFormWithEitherSeparator) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(format(c.value, ','), c.comma);
  EXPECT_EQ(format(c.value, '.'), withDot(c.comma));
}

INSTANTIATE_TEST_SUITE_P(Table, XmlNumberFormat, ::testing::ValuesIn(kNumberCases));

TEST(XmlNumber, AppendsToWhatIsThere) {
  std::string out = "<CENA>";
  appendXmlNumber(out, 2.5f, ',');
  EXPECT_EQ(out, "<CENA>2,5");
}

// Every written number reads back as the very same 32-bit value, and carries no trailing zeros.
TEST(XmlNumber, RoundTripsAcrossTheFloatRange) {
  std::uint32_t state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1664525u + 1013904223u;
    float value;
    std::memcpy(&value, &state, sizeof value);
    if (!std::isfinite(value) || value == 0.0f) continue;
    std::string text = format(value, '.');
    float back = 0.0f;
    auto result = std::from_chars(text.data(), text.data() + text.size(), back);
    ASSERT_EQ(result.ptr, text.data() + text.size()) << text;
    ASSERT_EQ(back, value) << text;
    std::size_t point = text.find('.');
    std::size_t mantissaEnd = std::min(text.find('E'), text.size());
    if (point != std::string::npos && point < mantissaEnd) {
      ASSERT_NE(text[mantissaEnd - 1], '0') << text;
      ASSERT_NE(text[mantissaEnd - 1], '.') << text;
    }
    const float magnitude = std::fabs(value);
    const bool scientific = text.find('E') != std::string::npos;
    // Around the thresholds the shortest digits decide, so only check well inside each range.
    if (magnitude >= 0.0000101f && magnitude < 9.9e14f) {
      ASSERT_FALSE(scientific) << text;
    }
    if (magnitude < 0.0000099f || magnitude >= 1.01e15f) {
      ASSERT_TRUE(scientific) << text;
    }
  }
}

// The process locale (the window sets it from the environment) has no say; only the separator passed in.
TEST(XmlNumber, IgnoresTheProcessLocale) {
  testing::DecimalCommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no decimal-comma locale on this system";
  for (const NumberCase& c : kNumberCases) {
    EXPECT_EQ(format(c.value, '.'), withDot(c.comma));
    EXPECT_EQ(format(c.value, ','), c.comma);
  }
}

TEST(XmlNumber, SeparatorComesFromTheUsersEnvironmentLocale) {
  {
    testing::DecimalCommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no decimal-comma locale on this system";
  }
  struct {
    const char* lcAll;
    char expected;
  } const cases[] = {{"sk_SK.UTF-8", ','}, {"C", '.'}, {"xx_NOWHERE.UTF-8", '.'}};
  for (const auto& c : cases) {
    testing::EnvironmentVariable env("LC_ALL", c.lcAll);
    EXPECT_EQ(userDecimalSeparator(), c.expected) << c.lcAll;
  }
}

// Fields as the terminal writes them, and the odd ones: read as the neutral locale reads them.
TEST(XmlNumber, FieldsAreReadAndWrittenBack) {
  struct {
    const char* field;
    const char* comma;  // nullptr: beyond the float range
  } const cases[] = {
      {"12.30", "12,3"},
      {"19.99", "19,99"},
      {"3.000", "3"},
      {"0.000", "0"},
      {"-0", "0"},
      {"+5.", "5"},
      {".5", "0,5"},
      {"007.50", "7,5"},
      {"-1.5", "-1,5"},
      {"1200", "1200"},
      {"", "0"},
      {"abc", "0"},
      {" 12.5", "12,5"},
      {"12,50", "12"},
      {"12.5kg", "12,5"},
      {"1e3", "1000"},
      {"0.1234", "0,1234"},
      {"1234567.8", "1234567,8"},
      {"0.000001", "1E-6"},
      {"1e20", "1E20"},
      {"999999000000000", "999999000000000"},
      {"1000000000000000", "1E15"},
      {"1e39", nullptr},
      {"-1e39", nullptr},
      {"1e400", nullptr},
  };
  for (const auto& c : cases) {
    std::string out = "x";
    float value = -1.0f;
    const bool ok = appendXmlNumberField(out, c.field, ',', &value);
    EXPECT_EQ(ok, c.comma != nullptr) << c.field;
    EXPECT_EQ(out, c.comma ? std::string("x") + c.comma : "x") << c.field;
    std::string plain;
    EXPECT_EQ(appendXmlNumberField(plain, c.field, ','), ok) << c.field;
    EXPECT_EQ(plain, out.substr(1)) << c.field;
  }
}

// Whatever way a field takes, its text is that of the 32-bit value the field reads as.
TEST(XmlNumber, FieldTextsAgreeWithTheirValues) {
  static const char* const kPieces[] = {"0",       "00", "1", "5", "9", "12", "30", "099", "100", "12345", "999999",
                                        "1234567", ".",  ".", ".", "-", "+",  "e",  "e5",  "E-3", " ",     "x"};
  std::uint32_t state = 7;
  for (int i = 0; i < 200000; ++i) {
    std::string field;
    const int pieces = 1 + static_cast<int>((state = state * 1664525u + 1013904223u) >> 30);
    for (int p = 0; p < pieces; ++p) {
      state = state * 1664525u + 1013904223u;
      field += kPieces[(state >> 8) % (sizeof kPieces / sizeof kPieces[0])];
    }
    std::string viaField;
    const bool ok = appendXmlNumberField(viaField, field, ',');
    float value = 0.0f;
    ASSERT_EQ(ok, readStoreFloat(field, value)) << field;
    if (!ok) continue;
    ASSERT_EQ(viaField, format(value, ',')) << field;
  }
}

// Up to eight characters after the sign are looked at as one word: around that length, with the value asked
// for and without, the text is that of the value.
TEST(XmlNumber, ShortFieldsAgreeWithTheirValues) {
  std::uint32_t state = 11;
  const std::string alphabet = "00000123456789.-+";
  for (int i = 0; i < 300000; ++i) {
    std::string field;
    const std::size_t length = (state = state * 1664525u + 1013904223u) >> 28;  // 0 to 15
    for (std::size_t k = 0; k < length; ++k) {
      state = state * 1664525u + 1013904223u;
      field.push_back(alphabet[(state >> 8) % alphabet.size()]);
    }
    float expected = 0.0f;
    const bool inRange = readStoreFloat(field, expected);
    std::string plain;
    ASSERT_EQ(appendXmlNumberField(plain, field, ','), inRange) << field;
    std::string withValue;
    float value = -1.0f;
    ASSERT_EQ(appendXmlNumberField(withValue, field, ',', &value), inRange) << field;
    if (!inRange) continue;
    ASSERT_EQ(plain, format(expected, ',')) << field;
    ASSERT_EQ(withValue, plain) << field;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(value), std::bit_cast<std::uint32_t>(expected)) << field;
  }
}

TEST(XmlNumber, PoradieIsTruncatedTowardZeroWithinThe32BitRange) {
  struct {
    const char* text;
    bool ok;
    std::int32_t value;
  } const cases[] = {
      {"7.9", true, 7},
      {"12.7", true, 12},
      {"-3.9", true, -3},
      {"abc", true, 0},
      {"", true, 0},
      {"  42;", true, 42},
      {"12,7", true, 12},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"1e39", false, 0},
      {"1e400", false, 0},
  };
  for (const auto& c : cases) {
    std::int32_t value = -1;
    EXPECT_EQ(readTruncatedInt32(c.text, value), c.ok) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

}  // namespace
}  // namespace nodra
