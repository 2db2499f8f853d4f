#include "store/store_line_reader.h"
#include "store/store_fields.h"
#include "store/store_numbers.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/case_name.h"
#include "support/temp_folder.h"

namespace nodra {
namespace {

std::vector<std::string> readAll(const std::string& content, bool* endedWithEmptyRead = nullptr) {
  const testing::TempFolder folder;
  const std::filesystem::path file = folder / "DATA_OUT.TXT";
  testing::writeFile(file, content);
  StoreLineReader reader;
  EXPECT_TRUE(reader.open(file));
  std::vector<std::string> reads;
  std::string_view line;
  while (reader.next(line)) reads.emplace_back(line);
  // Asking again after the end changes nothing.
  EXPECT_FALSE(reader.next(line));
  if (endedWithEmptyRead) *endedWithEmptyRead = reader.endedWithEmptyRead();
  EXPECT_FALSE(reader.failed());
  return reads;
}

struct ReadCase {
  const char* label;
  std::string content;
  std::vector<std::string> reads;
  bool endedWithEmptyRead;
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.label; }

class LineReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(LineReading, SplitsTheFileIntoReads) {
  const ReadCase& c = GetParam();
  bool endedEmpty = !c.endedWithEmptyRead;
  EXPECT_EQ(readAll(c.content, &endedEmpty), c.reads);
  EXPECT_EQ(endedEmpty, c.endedWithEmptyRead);
}

const std::string k248(248, 'a');
// A CR LF whose LF lies in the reader's next 64 KiB chunk.
const std::string kChunkPrefix = [] {
  std::string s;
  for (int i = 0; i < 1023; ++i) s += std::string(63, 'a') + "\n";
  return s;
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, LineReading,
    ::testing::Values(
        ReadCase{"lf", "4711;12.5;3;Mlieko;\n", {"4711;12.5;3;Mlieko;\n"}, true},
        ReadCase{"crlf", "ab;cd;ef\r\ngh;ij;kl\r\n", {"ab;cd;ef\n", "gh;ij;kl\n"}, true},
        ReadCase{"no final line end", "ab;cd;ef\nlast;1", {"ab;cd;ef\n", "last;1"}, false},
        ReadCase{"empty file", "", {}, true}, ReadCase{"blank lines are reads", "\n\r\n", {"\n", "\n"}, true},
        ReadCase{
            "300 characters", std::string(300, 'x') + "\n", {std::string(248, 'x'), std::string(52, 'x') + "\n"}, true},
        ReadCase{"248 then line feed", k248 + "\n", {k248, "\n"}, true},
        ReadCase{"248 without line end", k248, {k248}, true},
        ReadCase{"cr lf not counted", std::string(247, 'b') + "\r\n", {std::string(247, 'b') + "\n"}, true},
        ReadCase{"lone cr kept", "a\rb;\n", {"a\rb;\n"}, true},
        ReadCase{"cr at end of file", "abc\r", {"abc\r"}, false},
        ReadCase{"cr lf across chunks", kChunkPrefix + std::string(63, 'b') + "\r\nz\n",
                 [] {
                   std::vector<std::string> r(1023, std::string(63, 'a') + "\n");
                   r.push_back(std::string(63, 'b') + "\n");
                   r.push_back("z\n");
                   return r;
                 }(),
                 true}),
    [](const auto& p) { return testing::caseName(p.param.label); });

TEST(RecordLine, FiveCharactersWithTheLineFeedAreNoRecord) {
  EXPECT_FALSE(isRecordLine("1234\n"));
  EXPECT_FALSE(isRecordLine("12345"));
  EXPECT_TRUE(isRecordLine("12345\n"));
  EXPECT_FALSE(isRecordLine(""));
}

struct SplitCase {
  std::string line;
  std::vector<std::string> fields;
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << testing::caseName(c.line); }

class FieldSplitting : public ::testing::TestWithParam<SplitCase> {};

TEST_P(FieldSplitting, KeepsPrintableAsciiAndTrimsTrailingSpaces) {
  std::vector<std::string> fields;
  int expectedPosition = 0;
  splitStoreFields(GetParam().line, [&](int position, std::string_view text) {
    EXPECT_EQ(position, expectedPosition++);
    fields.emplace_back(text);
  });
  EXPECT_EQ(fields, GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(Cases, FieldSplitting,
                         ::testing::Values(SplitCase{"4711;12.5;3;Mlieko;\n", {"4711", "12.5", "3", "Mlieko"}},
                                           SplitCase{"  A 1  ;x ;\n", {"  A 1", "x"}},
                                           SplitCase{"ABC;1;1\n", {"ABC", "1"}}, SplitCase{"no field at all\n", {}},
                                           SplitCase{";;\n", {"", ""}},
                                           // Accented letters (Windows-1250 bytes), control characters and CR vanish.
                                           SplitCase{"Káva;\x01x\ty\r;Čokoláda;\n", {"Kva", "xy", "okolda"}},
                                           SplitCase{"a  \x7F;~;\n", {"a", "~"}},
                                           SplitCase{std::string(120, 'n') + ";", {std::string(kStoreFieldMax, 'n')}}));

// The fields by the rules, one character at a time: what the block-wise splitting must give.
std::vector<std::string> referenceFields(std::string_view line) {
  std::vector<std::string> fields;
  std::string field;
  for (char c : line) {
    if (c == ';') {
      while (!field.empty() && field.back() == ' ') field.pop_back();
      fields.push_back(field);
      field.clear();
    } else if (static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) <= 126 &&
               field.size() < kStoreFieldMax) {
      field.push_back(c);
    }
  }
  return fields;
}

// Lines around the 64-byte chunks, fields around the 99-character limit, accented letters, control
// characters and trailing spaces; a read is looked at past its end, which must change nothing.
TEST(FieldSplitting, BlockWiseAgreesWithTheRules) {
  std::mt19937 random(2024);
  const std::string alphabet = "ab ;;  \xe1\x8a\x01\t\r\x7f~9";
  StoreFields fields;
  for (int i = 0; i < 50000; ++i) {
    const std::size_t length = random() % 4 == 0 ? random() % 300 : random() % 140;
    std::string line;
    for (std::size_t k = 0; k < length; ++k) {
      // Runs of one kind, short and long: fields outgrow their limit and chunks end inside them.
      const bool plain = random() % (2 + i % 13) != 0;
      line.push_back(plain ? static_cast<char>('a' + i % 7) : alphabet[random() % alphabet.size()]);
    }
    const std::vector<std::string> expected = referenceFields(line);
    std::vector<std::string> got;
    ASSERT_EQ(fields.split(line), static_cast<int>(expected.size())) << line;
    for (int f = 0; f < fields.size(); ++f) got.emplace_back(fields[f]);
    ASSERT_EQ(got, expected) << line;

    std::string padded = line + std::string(kStoreReadSlack, ';');
    for (std::size_t k = line.size(); k < padded.size(); k += 3) padded[k] = '\xe1';
    got.clear();
    ASSERT_EQ(fields.splitRead(std::string_view(padded.data(), line.size())), static_cast<int>(expected.size()));
    for (int f = 0; f < fields.size(); ++f) got.emplace_back(fields[f]);
    ASSERT_EQ(got, expected) << line;
    EXPECT_TRUE(fields[fields.size()].empty());
  }
}

struct NumberCase {
  const char* text;
  float value;
  bool inRange;
};
void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.text; }

class NumberReading : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberReading, ReadsAsTheNeutralLocale) {
  float value = -99.0f;
  EXPECT_EQ(readStoreFloat(GetParam().text, value), GetParam().inRange) << GetParam().text;
  EXPECT_EQ(value, GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberReading,
                         ::testing::Values(NumberCase{"12,50", 12.0f, true}, NumberCase{"12.5", 12.5f, true},
                                           NumberCase{"  -1.5", -1.5f, true}, NumberCase{"+3", 3.0f, true},
                                           NumberCase{"12.5abc", 12.5f, true}, NumberCase{"abc", 0.0f, true},
                                           NumberCase{"", 0.0f, true}, NumberCase{"- 5", 0.0f, true},
                                           NumberCase{".5", 0.5f, true}, NumberCase{"5.", 5.0f, true},
                                           NumberCase{"1e3", 1000.0f, true}, NumberCase{"2.5E-1", 0.25f, true},
                                           NumberCase{"1e", 1.0f, true}, NumberCase{"5.e1", 50.0f, true},
                                           NumberCase{"0x1A", 0.0f, true}, NumberCase{"inf", 0.0f, true},
                                           NumberCase{"12.30", 12.3f, true}, NumberCase{"3.4e38", 3.4e38f, true},
                                           NumberCase{"1e-50", 0.0f, true}, NumberCase{"1e-400", 0.0f, true},
                                           NumberCase{"1e39", 0.0f, false}, NumberCase{"-1e39", 0.0f, false},
                                           NumberCase{"1e400", 0.0f, false}));

// Short decimals take a shortcut; it must give exactly what the general parser gives.
TEST(NumberReading, ShortDecimalsReadExactlyAsTheGeneralParser) {
  std::mt19937_64 random(11);
  for (int i = 0; i < 200000; ++i) {
    const auto digits = static_cast<int>(1 + random() % 15);
    std::string text;
    for (int d = 0; d < digits; ++d) text.push_back(static_cast<char>('0' + random() % 10));
    text.insert(random() % (text.size() + 1), ".");
    if (random() % 2) text.insert(0, "-");
    double expected = 0;
    std::from_chars(text.data() + (text[0] == '-'), text.data() + text.size(), expected);
    if (text[0] == '-') expected = -expected;
    ASSERT_EQ(readStoreDouble(text), expected) << text;
  }
}

// Texts of up to eight characters take a shortcut to the 32-bit value: the sign, -0 included, and the range
// must be those of the general reading.
TEST(NumberReading, ShortTextsReadAsTheGeneralParserNarrowed) {
  std::mt19937 random(12);
  const std::string alphabet = "0123456789012345678901234567890123456789..-+ e,x";
  for (int i = 0; i < 300000; ++i) {
    std::string text;
    const std::size_t length = random() % 11;
    for (std::size_t k = 0; k < length; ++k) text.push_back(alphabet[random() % alphabet.size()]);
    const double general = readStoreDouble(text);
    const bool inRange = std::fabs(general) <= static_cast<double>(std::numeric_limits<float>::max());
    float value = 99.0f;
    ASSERT_EQ(readStoreFloat(text, value), inRange) << text;
    const float expected = inRange ? static_cast<float>(general) : 0.0f;
    ASSERT_EQ(std::bit_cast<std::uint32_t>(value), std::bit_cast<std::uint32_t>(expected)) << text;
  }
}

}  // namespace
}  // namespace nodra
