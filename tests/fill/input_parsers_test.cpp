#include "fill/input_parsers.h"

#include <gtest/gtest.h>

#include <functional>

#include "fill_test_support.h"

namespace nodra {
namespace {

struct Parsed {
  std::vector<InputRecord> records;
  std::vector<std::string> boxes;
  Outcome outcome = Outcome::Info;
};

Parsed parse(InputParser parser, const LocalSettings& settings, std::string_view content) {
  testing::TempFolder folder;
  testing::writeFile(folder.path() / "in.txt", content);
  InputFile in;
  EXPECT_TRUE(in.open(folder.path() / "in.txt"));
  testing::RecordingUi ui;
  InputRecordTable table;
  unsigned count = parser(in, settings, ui, table);
  EXPECT_EQ(count, table.size());
  return {table.records(), ui.boxTexts(), ui.worstOutcome()};
}

// Line numbers are the file's own.
std::string badNumber(unsigned line, std::string_view text) {
  return "Chyba číselnej premennej na riadku " + std::to_string(line) + " (" + std::string(text) + ")";
}
std::string longLine(unsigned line, unsigned limit) {
  return "Riadok " + std::to_string(line) + " vstupného súboru je dlhší ako " + std::to_string(limit) +
         " znakov: jeho koniec sa nečítal.";
}
std::string listEnd(unsigned line, unsigned unread) {
  return "Zoznam CASIO 1 sa skončil na riadku " + std::to_string(line) +
         ", ktorý je kratší ako 50 znakov.\r\n"
         "Zvyšných " +
         std::to_string(unread) + " riadkov s údajmi sa nečítalo.";
}
std::string cutRecord(unsigned line) {
  return "Vstupný súbor sa skončil uprostred položky na riadku " + std::to_string(line) +
         ": táto položka sa nenačítala.";
}

struct ParserCase {
  const char* name;
  std::function<void(LocalSettings&)> setUp;
  std::string input;
  std::vector<InputRecord> records;
  std::vector<std::string> boxes;
  std::size_t blankBoxes = 0;  // warnings about blank lines, which are no failure
};

void expectCases(InputParser parser, const std::vector<ParserCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LocalSettings settings;
    if (c.setUp) c.setUp(settings);
    Parsed got = parse(parser, settings, c.input);
    EXPECT_EQ(got.records, c.records);
    EXPECT_EQ(got.boxes, c.boxes);
    EXPECT_EQ(got.outcome, c.boxes.size() > c.blankBoxes ? Outcome::Failure : Outcome::Info);
  }
}

void delimiterFields(LocalSettings& s, int f1, int f2, int f3, int f4) {
  s.Odd1_ISK = f1, s.Odd2_ISK = f2, s.Odd3_ISK = f3, s.Odd4_ISK = f4;
}

TEST(DelimitedInput, Fields) {
  const std::string longName(144, 'n');
  expectCases(
      &ParseDelimitedInput,
      {
          {"defaults", nullptr, "123;12,50;3;Rožok\n", {{"123", 12.5f, 3, "Rožok"}}, {}},
          {"CR LF and no line end at the end",
           nullptr,
           "1;2;3;Chlieb\r\n4;5;6;Mlieko",
           {{"1", 2, 3, "Chlieb"}, {"4", 5, 6, "Mlieko"}},
           {}},
          {"code from field 2 right-aligned in 16",
           [](LocalSettings& s) { delimiterFields(s, 3, 0, 1, 2); },
           "Rožok;123;12,50;3\n",
           {{"             123", 12.5f, 3, "Rožok"}},
           {}},
          {"aligned code longer than 16 stays whole",
           [](LocalSettings& s) { delimiterFields(s, 3, 0, 1, 2); },
           "n;12345678901234567;1;1\n",
           {{"12345678901234567", 1, 1, "n"}},
           {}},
          {"three fields: empty name", nullptr, "123;1,5;2\n", {{"123", 1.5f, 2, ""}}, {}},
          {"two fields with a count column: dropped", nullptr, "123;1,5\n", {}, {badNumber(1, "")}},
          {"delimiters inside field 4 stay", nullptr, "1;2;3;a;b;c\n", {{"1", 2, 3, "a;b;c"}}, {}},
          // Lines are looked at sixteen bytes at a time: delimiters on either side of a step, and more than
          // three in one step.
          {"delimiters inside field 4 stay in a long line",
           nullptr,
           "1;2;3;a;b;c;d;e;f;g;h\n",
           {{"1", 2, 3, "a;b;c;d;e;f;g;h"}},
           {}},
          {"fields ending at the last byte of a step and after it",
           nullptr,
           "123456789012345;1;2;a;b\n1234567890123456;3;4;c\n12345678901234567890123456789;5;6;d\n",
           {{"123456789012345", 1, 2, "a;b"}, {"1234567890123456", 3, 4, "c"}, {"123456789012345678", 5, 6, "d"}},
           {}},
          {"other delimiter, fields untrimmed",
           [](LocalSettings& s) { s.Odd_Char_ISK = '\t'; },
           " 1 \t2\t3\t x;y \n",
           {{" 1 ", 2, 3, " x;y "}},
           {}},
          {"empty delimiter: the line is field 1",
           [](LocalSettings& s) { s.Odd_Char_ISK = 0, delimiterFields(s, 3, 9, 9, 9); },
           "1;2;3;x\n",
           {{"", 0, 0, "1;2;3;x"}},
           {}},
          {"the later of two fields wins",
           [](LocalSettings& s) { delimiterFields(s, 0, 1, 1, 3); },
           "1;2;3;n\n",
           {{"1", 3, 0, "n"}},
           {}},
          {"a bad number stops the line at once",
           [](LocalSettings& s) { delimiterFields(s, 1, 2, 0, 3); },
           "x;y;1;n\n",
           {},
           {badNumber(1, "x")}},
          {"a bad number names the line of the file, after dropped lines too",
           nullptr,
           "1;x;1;a\n2;1;1;b\n3;y;1;c\n4;1;1;d\n",
           {{"2", 1, 1, "b"}, {"4", 1, 1, "d"}},
           {badNumber(1, "x"), badNumber(3, "y")}},
          {"blank lines are warned about but carry nothing and fail nothing",
           nullptr,
           "\n  \t \r\n1;1;1;a\n\n2;z;1;b\n",
           {{"1", 1, 1, "a"}},
           {badNumber(1, ""), badNumber(2, ""), badNumber(4, ""), badNumber(5, "z")},
           3},
          {"a blank line in a layout without numbers is no record and no warning",
           [](LocalSettings& s) { delimiterFields(s, 0, 3, 9, 9); },
           "\n  \nabc\n",
           {{"abc", 0, 0, ""}},
           {}},
          {"no numeric field: any line is a record",
           [](LocalSettings& s) { delimiterFields(s, 0, 3, 9, 9); },
           "abc\n",
           {{"abc", 0, 0, ""}},
           {}},
          {"code cut to 18, name to 47",
           nullptr,
           "1234567890123456789012;1;1;" + longName.substr(0, 60) + "\n",
           {{"123456789012345678", 1, 1, longName.substr(0, 47)}},
           {}},
          // 139 characters are read; the rest of the line is no line of its own, and is reported.
          {"a long line stays one line",
           nullptr,
           "1;2;3;" + longName + "\n5;6;7;next\n",
           {{"1", 2, 3, longName.substr(0, 47)}, {"5", 6, 7, "next"}},
           {longLine(1, 138)}},
          {"a long line with a bad number gets one message",
           nullptr,
           "1;x;3;" + longName + "\n",
           {},
           {badNumber(1, "x")}},
          {"codes and names end at a NUL", nullptr, std::string("7\0x;1;1;Ma\0slo\n", 15), {{"7", 1, 1, "Ma"}}, {}},
      });
}

// Places texts at columns; the rest are spaces.
std::string columnsLine(std::initializer_list<std::pair<std::size_t, std::string>> parts, std::size_t width = 0) {
  std::string line(width, ' ');
  for (const auto& [at, text] : parts) {
    if (line.size() < at + text.size()) line.resize(at + text.size(), ' ');
    line.replace(at, text.size(), text);
  }
  return line;
}

// Defaults: code 0/16, count 17/8, price 25/8, name 34/39.
TEST(FixedInput, Spans) {
  auto line = [](std::string code, std::string count, std::string price, std::string name) {
    return columnsLine({{0, code}, {17, count}, {25, price}, {34, name}}) + "\n";
  };
  auto sixColumnCode = [](LocalSettings& s) { s.KOD_dlzka = 6; };
  expectCases(
      &ParseFixedInput,
      {
          {"all spans", nullptr, line("4711", "       3", "   12,50", "Chlieb"), {{" 4711", 12.5f, 3, "Chlieb"}}, {}},
          {"price drops spaces and signs, count keeps its sign",
           nullptr,
           line("1", "   -5,00", "1 234,50", "x"),
           {{" 1", 1234.5f, -5, "x"}},
           {}},
          {"price sign dropped", nullptr, line("1", "       1", "   -5,00", "x"), {{" 1", 5, 1, "x"}}, {}},
          {"price drops bytes from 128 up",
           nullptr,
           line("1", "       1", "   12€50", "x"),
           {{" 1", 1250, 1, "x"}},
           {}},
          {"name: leading spaces skipped, control characters dropped, trailing spaces kept",
           nullptr,
           line("1", "1", "1", "  Ká\tva  "),
           {{" 1", 1, 1, "Káva  "}},
           {}},
          {"a NUL ends the name", nullptr, line("1", "1", "1", std::string("Ma\0slo", 6)), {{" 1", 1, 1, "Ma"}}, {}},
          // A code span that is full and ends in spaces gets one space in front, the default 16 columns too.
          {"code filling its span",
           nullptr,
           line("1234567890123456", "1", "1", "n"),
           {{"1234567890123456", 1, 1, "n"}},
           {}},
          {"full code span ending in spaces",
           sixColumnCode,
           line("AB12  x", "1", "1", "n"),
           {{" AB12", 1, 1, "n"}},
           {}},
          {"code span with leading spaces", sixColumnCode, line("  AB12", "1", "1", "n"), {{"AB12", 1, 1, "n"}}, {}},
          {"code span cut by the line end",
           [](LocalSettings& s) { s.KOD_zac = 3, s.CEN_dlzka = 0, s.POC_dlzka = 0; },
           "xxxAB \n",
           {{"AB ", 0, 0, ""}},
           {}},
          {"a count span over the line end holds it",
           [](LocalSettings& s) { s.CEN_dlzka = 0; },
           columnsLine({{0, "1"}, {17, "3"}}) + "\n",
           {},
           {badNumber(1, "3\n")}},
          {"the last line without a line end keeps its count",
           [](LocalSettings& s) { s.CEN_dlzka = 0; },
           columnsLine({{0, "1"}, {17, "3"}}),
           {{" 1", 0, 3, ""}},
           {}},
          {"a bad price is reported before the count is looked at",
           nullptr,
           line("1", "x", "y", "n"),
           {},
           {badNumber(1, "y")}},
          {"all lengths 0: every line an empty record",
           [](LocalSettings& s) { s.KOD_dlzka = s.CEN_dlzka = s.POC_dlzka = s.NAZ_dlzka = 0; },
           "abc\ndef\n",
           {{"", 0, 0, ""}, {"", 0, 0, ""}},
           {}},
          {"blank lines and dropped records are counted as lines",
           nullptr,
           "\n" + line("1", "x", "1", "a") + "   \n" + line("2", "1", "1", "b"),
           {{" 2", 1, 1, "b"}},
           {badNumber(1, ""), badNumber(2, "x       "), badNumber(3, "")},
           2},
          {"a line over 139 characters is one line",
           nullptr,
           columnsLine({{0, "1"}, {17, "1"}, {25, "1"}, {34, "n"}}, 200) + "\n" + line("2", "1", "1", "b"),
           {{" 1", 1, 1, "n" + std::string(38, ' ')}, {" 2", 1, 1, "b"}},
           {longLine(1, 138)}},
      });
}

// Columns 0..13 code, 14..39 name, 40..49 price.
std::string casioLine(std::string code, std::string name, std::string price) {
  code.resize(14, ' ');
  name.resize(26, ' ');
  return code + name + price;
}

TEST(Casio1Input, Columns) {
  const std::string name26 = "Mlieko polotučné 1l       ";
  const std::string good = casioLine("12 34 56", name26, "     12,50") + "\n";  // 50 characters and the line end
  const std::string after = casioLine("9", "Chlieb", "      1,00") + "\n";
  expectCases(
      &ParseCasio1Input,
      {
          {"50 characters",
           nullptr,
           good + after,
           {{"123456", 12.5f, 0, name26}, {"9", 1, 0, "Chlieb" + std::string(20, ' ')}},
           {}},
          {"49 characters: the line end falls into the price",
           nullptr,
           casioLine("1", "a", "    12,50") + "\n" + after,
           {{"9", 1, 0, "Chlieb" + std::string(20, ' ')}},
           {badNumber(1, "    12.50\n")}},
          {"48 characters end the reading, and what is left is reported",
           nullptr,
           casioLine("1", "a", "   12,50") + "\n" + after,
           {},
           {listEnd(1, 1)}},
          {"an empty line ends the reading",
           nullptr,
           good + "\n" + after + "\n" + after,
           {{"123456", 12.5f, 0, name26}},
           {listEnd(2, 2)}},
          {"a short last line ends the list quietly", nullptr, good + "koniec\n\n", {{"123456", 12.5f, 0, name26}}, {}},
          {"tabs stay in the code, characters after 50 are ignored",
           nullptr,
           casioLine("1\t2", "a", "         3") + "tail\n",
           {{"1\t2", 3, 0, "a" + std::string(25, ' ')}},
           {}},
          // 98 characters are read; the rest of a longer line does not end the list.
          {"a line over 98 characters",
           nullptr,
           casioLine("1", "a", "         3") + std::string(60, 'x') + "\n" + after,
           {{"1", 3, 0, "a" + std::string(25, ' ')}, {"9", 1, 0, "Chlieb" + std::string(20, ' ')}},
           {longLine(1, 97)}},
          {"a blank line of full length is warned about and passed over",
           nullptr,
           std::string(60, ' ') + "\n" + after,
           {{"9", 1, 0, "Chlieb" + std::string(20, ' ')}},
           {badNumber(1, std::string(10, ' '))},
           1},
      });
}

TEST(OldInput, Words) {
  const std::string name45 = "Syr údený " + std::string(35, 'x');
  expectCases(
      &ParseOldInput,
      {
          {"one line", nullptr, "4711 12,50 3   Mlieko polotučné\n", {{"4711", 12.5f, 3, "Mlieko polotučné"}}, {}},
          {"words across lines, empty lines skipped",
           nullptr,
           "\n\n4711\n\n12,50\r\n 3\t Chlieb\r\n\n",
           {{"4711", 12.5f, 3, "Chlieb"}},
           {}},
          {"code cut to 16, name to 40",
           nullptr,
           "12345678901234567890 1 2 " + name45 + "\n",
           {{"1234567890123456", 1, 2, name45.substr(0, 40)}},
           {}},
          {"count at the line end: empty name", nullptr, "1 2 3\n4 5 6 x\n", {{"1", 2, 3, ""}, {"4", 5, 6, "x"}}, {}},
          {"a lone CR drops the character after it", nullptr, "1 2 3 ab\rcd\n", {{"1", 2, 3, "abd"}}, {}},
          {"a bad price drops the rest of its line",
           nullptr,
           "1 x 3 a\n2 1 1 b\n",
           {{"2", 1, 1, "b"}},
           {badNumber(1, "x")}},
          {"a bad count too", nullptr, "1 2 y a b c\n2 1 1 b\n", {{"2", 1, 1, "b"}}, {badNumber(1, "y")}},
          {"the end of the file inside a record is reported",
           nullptr,
           "1 2 3 a\n\n4 5",
           {{"1", 2, 3, "a"}},
           {cutRecord(3)}},
          {"a last count without its line end is a record without a name", nullptr, "1 2 3", {{"1", 2, 3, ""}}, {}},
          {"a bad number names its line", nullptr, "1 2 3 a\n\n5 x 1 b\n", {{"1", 2, 3, "a"}}, {badNumber(3, "x")}},
          {"a word of any length is read past",
           nullptr,
           std::string(3 << 20, 'k') + " 1 2 n\n",
           {{std::string(16, 'k'), 1, 2, "n"}},
           {}},
          {"words longer than any buffer",
           nullptr,
           std::string(300, 'k') + " " + std::string(100, '0') + "1,5 2 n\n",
           {{std::string(16, 'k'), 1.5f, 2, "n"}},
           {}},
      });
}

TEST(InputParsers, LayoutChoiceOrder) {
  LocalSettings s;
  s.Odd_ISK = s.Pevna_dl_ISK = s.Old_ISK = s.CASIO1_ISK = true;
  EXPECT_EQ(chooseInputParser(s), &ParseCasio1Input);
  s.CASIO1_ISK = false;
  EXPECT_EQ(chooseInputParser(s), &ParseOldInput);
  s.Old_ISK = false;
  EXPECT_EQ(chooseInputParser(s), &ParseFixedInput);
  s.Pevna_dl_ISK = false;
  EXPECT_EQ(chooseInputParser(s), &ParseDelimitedInput);
  s.Odd_ISK = false;
  EXPECT_EQ(chooseInputParser(s), nullptr);
}

// The reader's buffer boundaries must not show: a CR LF split across two reads is still one line end, and
// no line is cut or joined at a boundary.
TEST(InputFile, LinesAcrossBufferBoundaries) {
  testing::TempFolder folder;
  std::string content;
  std::vector<std::string> expected;
  for (int i = 0; content.size() < 3u * 262144u; ++i) {
    std::string line = std::to_string(i) + ";" + std::string(static_cast<std::size_t>(i % 37), 'a') + ";";
    if (i % 5 == 0) line += "\r";  // a lone CR stays
    content += line + "\r\n";
    expected.push_back(line + "\n");
  }
  testing::writeFile(folder.path() / "in.txt", content);
  InputFile in;
  ASSERT_TRUE(in.open(folder.path() / "in.txt"));
  std::string_view line;
  std::size_t n = 0;
  while (in.readLine(kInputLineMax, line)) {
    ASSERT_LT(n, expected.size());
    ASSERT_EQ(line, expected[n]) << "line " << n;
    ++n;
  }
  EXPECT_EQ(n, expected.size());
  EXPECT_FALSE(in.failed());
}

TEST(InputFile, WordsAcrossBufferBoundaries) {
  testing::TempFolder folder;
  std::string content;
  std::vector<std::string> expected;
  const char* blanks[] = {" ", "\t", "\r\n", "  \n\n", "\v\f"};
  for (int i = 0; content.size() < 3u * 262144u; ++i) {
    std::string word = std::to_string(i) + std::string(static_cast<std::size_t>(i % 53), 'w');
    content += word + blanks[i % 5];
    expected.push_back(word);
  }
  content += "last";  // no blank after it
  expected.push_back("last");
  testing::writeFile(folder.path() / "in.txt", content);
  InputFile in;
  ASSERT_TRUE(in.open(folder.path() / "in.txt"));
  std::string_view word;
  std::string scratch;
  std::size_t n = 0;
  while (in.readWord(word, scratch)) {
    ASSERT_LT(n, expected.size());
    ASSERT_EQ(word, expected[n]) << "word " << n;
    ++n;
  }
  EXPECT_EQ(n, expected.size());
}

TEST(InputFile, RefusesWhatCannotBeRead) {
  testing::TempFolder folder;
  InputFile in;
  EXPECT_FALSE(in.open(folder.path() / "missing.txt"));
  EXPECT_FALSE(in.open(folder.path()));
}

}  // namespace
}  // namespace nodra
