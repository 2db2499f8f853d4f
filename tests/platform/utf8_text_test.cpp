#include "platform/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace nodra {
namespace {

struct CheckCase {
  const char* label;
  std::string bytes;
  bool valid;
  bool multiByte;
};

TEST(Utf8Check, TellsUtf8FromTheProgramsOwnCodePage) {
  const CheckCase cases[] = {
      {"plain ASCII", "4711;1;2;Chlieb\r\n", true, false},
      {"UTF-8 letters", "4711;1;2;Ro\xC5\xBEok\r\n", true, true},
      {"Windows-1250 letters", "4711;1;2;Ro\x9Eok\r\n", false, true},
      {"a cut sequence at the end", "Ro\xC5", false, true},
      {"an overlong slash", "\xC0\xAF", false, true},
      {"a surrogate", "\xED\xA0\x80", false, true},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", false, true},
      {"a four-byte character", "\xF0\x9F\x98\x80", true, true},
  };
  for (const CheckCase& c : cases) {
    // Byte by byte as well as at once: a sequence split between reads is the same sequence.
    for (bool piecewise : {false, true}) {
      Utf8Check fed;
      if (piecewise) {
        for (char b : c.bytes) fed.feed(&b, 1);
      } else {
        fed.feed(c.bytes.data(), c.bytes.size());
      }
      EXPECT_EQ(fed.valid(), c.valid) << c.label << (piecewise ? " piecewise" : "");
      if (c.valid) {
        EXPECT_EQ(fed.multiByte(), c.multiByte) << c.label;
      }
    }
  }
}

TEST(Utf8ToCp1250, ConvertsInPiecesAndNotesTheLinesOfMissingCharacters) {
  // "Rožok", then "ж" (no Windows-1250 form) on line 2, a euro sign and a cut sequence on line 3.
  const std::string in = "Ro\xC5\xBEok\n\xD0\xB6\n\xE2\x82\xAC\xC5";
  for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{64}}) {
    Utf8ToCp1250 conversion;
    std::string out;
    for (std::size_t i = 0; i < in.size(); i += piece)
      conversion.convert(in.data() + i, std::min(piece, in.size() - i), out);
    conversion.finish(out);
    EXPECT_EQ(out, "Ro\x9Eok\n?\n\x80?") << piece;
    EXPECT_EQ(conversion.firstLinesReplaced(), (std::vector<unsigned>{2, 3})) << piece;
    EXPECT_EQ(conversion.linesReplaced(), 2u);
  }
}

TEST(Utf8ToCp1250, ListsTenLinesAndCountsTheRest) {
  Utf8ToCp1250 conversion;
  std::string out;
  for (int line = 0; line < 14; ++line) conversion.convert("\xD0\xB6\xD0\xB6\n", 5, out);
  EXPECT_EQ(conversion.linesReplaced(), 14u);
  EXPECT_EQ(lineListText(conversion.firstLinesReplaced(), conversion.linesReplaced()),
            "1, 2, 3, 4, 5, 6, 7, 8, 9, 10 a ďalších 4");
}

}  // namespace
}  // namespace nodra
