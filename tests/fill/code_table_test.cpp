#include "fill/code_table.h"

#include <gtest/gtest.h>

#include "fill_test_support.h"

namespace nodra {
namespace {

std::string bytes(std::size_t n, char first) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(first + static_cast<char>(i % 26)));
  return s;
}

TEST(CodeTable, Files) {
  struct Case {
    const char* name;
    bool use_tbl;
    std::string file;                          // empty: no file
    std::vector<std::pair<int, int>> entries;  // entries to check; every other one is the identity
  };
  const std::string full = [] {
    std::string s;
    for (int k = 0; k < 256; ++k) s.push_back(static_cast<char>(255 - k));
    return s;
  }();
  std::vector<std::pair<int, int>> reversed;
  for (int k = 0; k < 256; ++k) reversed.emplace_back(k, 255 - k);
  const Case cases[] = {
      {"switched off: identity, the file unread", false, "ABCDE", {}},
      {"5 bytes: entries 0..4, the tab becomes a space",
       true,
       "ABCDE",
       {{0, 'A'}, {1, 'B'}, {2, 'C'}, {3, 'D'}, {4, 'E'}, {9, ' '}}},
      {"10 bytes decide the tab too",
       true,
       "ABCDEFGHIJ",
       {{0, 'A'}, {1, 'B'}, {2, 'C'}, {3, 'D'}, {4, 'E'}, {5, 'F'}, {6, 'G'}, {7, 'H'}, {8, 'I'}, {9, 'J'}}},
      {"a full table decides every entry", true, full, reversed},
      {"bytes after 256 are ignored", true, full + bytes(100, 'a'), reversed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempFolder folder;
    testing::writeFile(folder.path() / "codepage.tbl", c.file);
    testing::RecordingUi ui;
    CodeTable table = LoadCodeTable(c.use_tbl, folder.text(), ui);
    CodeTable expected = identityCodeTable();
    for (auto [k, v] : c.entries) expected[static_cast<std::size_t>(k)] = static_cast<unsigned char>(v);
    EXPECT_EQ(table, expected);
    EXPECT_TRUE(ui.events.empty());
  }
}

TEST(CodeTable, MissingFileIsReportedAndLeavesTheIdentity) {
  testing::TempFolder folder;
  testing::RecordingUi ui;
  EXPECT_EQ(LoadCodeTable(true, folder.text(), ui), identityCodeTable());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, Icon::Information);
  EXPECT_FALSE(ui.messages[0].ownedByWindow);
  EXPECT_EQ(ui.events, (std::vector<std::string>{"box:Pozor...|Súbor codepage.tbl sa nedá otvoriť ",
                                                 "status:Chyba pri otvorení súboru codepage.tbl"}));
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
}

TEST(CodeTable, TranslateName) {
  CodeTable table = identityCodeTable();
  table[static_cast<unsigned char>('č')] = 'c';
  table[0x9A] = 's';  // š in Windows-1250
  table['x'] = 0;
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"čerešňa", "ceresňa"},
      {"šošovica", "sosovica"},
      {"box a box", "bo"},  // an entry 0 ends the name at its first occurrence
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string name = c.in;
    TranslateName(table, name);
    EXPECT_EQ(name, c.out);
  }
  std::string all;
  for (int k = 1; k < 256; ++k) all.push_back(static_cast<char>(k));
  std::string same = all;
  TranslateName(identityCodeTable(), same);
  EXPECT_EQ(same, all);
}

}  // namespace
}  // namespace nodra
