#include "fill/record_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>

#include "fill_test_support.h"

namespace nodra {
namespace {

std::string fixed(float value, int decimals) {
  std::string out;
  appendFixed(out, value, decimals);
  return out;
}

TEST(RecordFile, DecimalsRule) {
  const std::pair<int, int> cases[] = {{0, 2}, {1, 1}, {2, 2}, {3, 3}, {4, 2}, {-1, 2}, {9, 2}};
  for (auto [pdm, decimals] : cases) EXPECT_EQ(recordDecimals(pdm), decimals) << "PDM " << pdm;
}

TEST(RecordFile, FixedPointOfThe32BitValue) {
  struct Case {
    float value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {12.5f, 2, "12.50"},
      {3, 3, "3.000"},
      {12.5f, 1, "12.5"},
      {0, 2, "0.00"},
      {0.125f, 2, "0.12"},  // an exact tie goes to the even neighbour
      {0.375f, 2, "0.38"},
      {2.675f, 2, "2.67"},  // the float lies below 2.675
      {1.005f, 2, "1.00"},
      {0.05f, 1, "0.1"},  // the float lies above 0.05
      {-1.5f, 2, "-1.50"},
      {-0.001f, 2, "-0.00"},
      {-0.0f, 3, "-0.000"},
      {16777217.0f, 2, "16777216.00"},
      {1234567.891f, 3, "1234567.875"},
      {1e10f, 3, "10000000000.000"},
      {3.0e38f, 1, "300000000549775575777803994281145270272.0"},
  };
  for (const auto& c : cases) EXPECT_EQ(fixed(c.value, c.decimals), c.text) << c.value << " with " << c.decimals;
}

// The short way of rounding must agree with the C library's printing for any value.
TEST(RecordFile, FixedPointAgreesWithPrintf) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::uint32_t> bits;
  char expected[400];
  for (int i = 0; i < 200000; ++i) {
    std::uint32_t b = bits(random);
    float value;
    std::memcpy(&value, &b, sizeof value);
    if (!std::isfinite(value)) continue;
    // Most of the values with 0 to 3 decimals worth looking at lie between 1e-4 and 1e9.
    if (i % 2 == 0) value = std::ldexp(value, -std::ilogb(value) + static_cast<int>(b % 40) - 12);
    int decimals = static_cast<int>(b % 4);
    std::snprintf(expected, sizeof expected, "%.*f", decimals, static_cast<double>(value));
    ASSERT_EQ(fixed(value, decimals), expected) << "bits " << b;
  }
  // Around the largest amounts that the short way still takes.
  for (float value = 1e11f; value < 1e17f; value *= 1.0173f) {
    for (int decimals = 0; decimals <= 3; ++decimals) {
      std::snprintf(expected, sizeof expected, "%.*f", decimals, static_cast<double>(value));
      ASSERT_EQ(fixed(value, decimals), expected) << value;
    }
  }
}

TEST(RecordFile, LineLayout) {
  std::string out;
  appendRecordLine(out, {"4711", 12.5f, 3, "Chlieb"}, recordDecimals(2), recordDecimals(3));
  EXPECT_EQ(out, "4711;12.50;3.000;Chlieb\r\n");
  out.clear();
  appendRecordLine(out, {"a;b", -2, 0.5f, "x;y"}, recordDecimals(1), recordDecimals(0));
  EXPECT_EQ(out, "a;b;-2.0;0.50;x;y\r\n");
  out.clear();
  appendRecordLine(out, {"", 0, 0, ""}, 2, 2);
  EXPECT_EQ(out, ";0.00;0.00;\r\n");
}

TEST(RecordFile, WriterTranslatesNamesOnlyAndReplacesTheFile) {
  testing::TempFolder folder;
  const auto target = folder.path() / "tmp_out.txt";
  testing::writeFile(target, "old contents\r\n");
  CodeTable table = identityCodeTable();
  table['a'] = 'A';
  RecordFileWriter writer(table, 3, 1);
  ASSERT_TRUE(writer.open(target));
  InputRecord r{"abc", 1.25f, 2, "banana"};
  writer.add(r);
  EXPECT_EQ(testing::readFile(target), "old contents\r\n");  // untouched until the commit
  ASSERT_TRUE(writer.commit());
  EXPECT_EQ(writer.count(), 1u);
  EXPECT_EQ(testing::readFile(target), "abc;1.250;2.0;bAnAnA\r\n");
}

TEST(RecordFile, WriterWithoutAFileStillCounts) {
  testing::TempFolder folder;
  const CodeTable table = identityCodeTable();
  RecordFileWriter writer(table, 2, 2);
  EXPECT_FALSE(writer.open(folder.path() / "missing" / "tmp_out.txt"));
  InputRecord r{"1", 1, 1, "n"};
  writer.add(r);
  writer.add(r);
  EXPECT_EQ(writer.count(), 2u);
  EXPECT_FALSE(writer.commit());
}

TEST(RecordFile, LinesIndependentOfTheLocale) {
  testing::DecimalCommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no decimal-comma locale";
  std::string out;
  appendRecordLine(out, {"1", 1234.5f, 0.125f, "n"}, 1, 3);
  appendRecordLine(out, {"2", 3.0e38f, -7, "m"}, 2, 2);
  EXPECT_EQ(out,
            "1;1234.5;0.125;n\r\n"
            "2;300000000549775575777803994281145270272.00;-7.00;m\r\n");
}

}  // namespace
}  // namespace nodra
