// Windows-1250 text and whole numbers in text.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "platform/cp1250.h"
#include "platform/integer_text.h"
#include "support/decimal_comma_locale.h"
#include "support/temp_folder.h"

namespace nodra {
namespace {

TEST(Cp1250, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  auto back = cp1250::fromUtf8(cp1250::toUtf8(all));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, all);
}

TEST(Cp1250, SlovakLettersMatchTheirUnicodeForms) {
  // The literal is compiled into Windows-1250; the escapes are its UTF-8 bytes.
  const std::string slovak = "ľščťžýáíéúäôňĽŠČŤŽÝÁÍÉÚÄÔŇ€";
  const std::string utf8 =
      "\xC4\xBE\xC5\xA1\xC4\x8D\xC5\xA5\xC5\xBE\xC3\xBD\xC3\xA1\xC3\xAD\xC3\xA9\xC3\xBA\xC3\xA4\xC3\xB4\xC5\x88"
      "\xC4\xBD\xC5\xA0\xC4\x8C\xC5\xA4\xC5\xBD\xC3\x9D\xC3\x81\xC3\x8D\xC3\x89\xC3\x9A\xC3\x84\xC3\x94\xC5\x87"
      "\xE2\x82\xAC";
  EXPECT_EQ(slovak.size(), 27u);  // one byte a letter
  EXPECT_EQ(cp1250::toUtf8(slovak), utf8);
  EXPECT_EQ(cp1250::fromUtf8(utf8), slovak);
}

TEST(Cp1250, RefusesWhatItCannotStore) {
  const char* refused[] = {
      "\xE4\xB8\xAD",      // a character outside the code page
      "\xF0\x9F\x98\x80",  // outside the basic plane
      "ab\xC3",            // cut short
      "\x80",              // a continuation byte alone
      "\xC3\x41",          // a lead byte without its continuation
      "\xC0\xAF",          // "/" in an overlong form
      "\xE0\x80\xAE",      // "." in an overlong form
      "\xED\xA0\x80",      // a surrogate
  };
  for (const char* text : refused) EXPECT_EQ(cp1250::fromUtf8(text), std::nullopt) << text;
}

TEST(IntegerText, ParsesAsTheFrameworkDid) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"  -5", -5},
      {"+5", 5},
      {"007", 7},
      {"$1f", 31},
      {"0X10", 16},
      {"-0x10", -16},
      {"0xFFFFFFFF", -1},  // hexadecimal wraps into the signed range
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"0x100000000", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"0x", std::nullopt},
      {"$", std::nullopt},
      {"5 ", std::nullopt},
      {"- 5", std::nullopt},
      {"+-5", std::nullopt},
      {"0x-5", std::nullopt},
      {"1.0", std::nullopt},
      {"1,0", std::nullopt},
      {"1e3", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parseInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(IntegerText, ConversionErrorNamesTheText) {
  EXPECT_EQ(strToInt("-12"), -12);
  try {
    strToInt("12abc");
    ADD_FAILURE() << "no error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'12abc' is not a valid integer value");
  }
}

TEST(IntegerText, NumbersIgnoreTheDecimalCommaLocale) {
  testing::DecimalCommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no sk_SK.UTF-8 locale";
  EXPECT_EQ(intToText(-1234567), "-1234567");
  EXPECT_EQ(intToText(LLONG_MIN), "-9223372036854775808");
  EXPECT_EQ(parseInteger("1234567"), 1234567);
  EXPECT_EQ(parseInteger("1 234"), std::nullopt);
}

}  // namespace
}  // namespace nodra
