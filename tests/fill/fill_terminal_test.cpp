#include "fill/fill_terminal.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <functional>

#include "fill_test_support.h"
#include "platform/cp1250.h"
#include "platform/folder_list_source.h"

namespace nodra {
namespace {

namespace fs = std::filesystem;

const std::string kTransfer = "status: Prenos položiek do NODRA, stlač žltú klávesu";
const std::string kDone =
    "box:Prenos údajov ukončený.|- údaje skopirované do NODRA\r\n\r\n- na dokončenie prenosu stlačte na NODRA "
    "akúkoľvek klávesu";
const std::string kConnected = "status:NODRA pripojený";

// A program folder and a terminal card in scratch folders, with a session that found the card.
struct FillRig {
  FillRig() : settings(LocalSettings::defaults(exe.text())) {
    testing::writeFile(card.path() / "CONFIG" / "NODRA3000.ini", "[GLOBAL]\r\nPDM_PRICE=2\r\n");
    session.drive = TerminalDrive{card.path(), "X:"};
    settings.path_ins = exe.text() + "vstup.txt";
  }

  void fill(std::string_view input, int pdmPrice = 2, int pdmCount = 2) {
    testing::writeFile(exe.path() / "vstup.txt", input);
    fill(pdmPrice, pdmCount);
  }
  void fill(int pdmPrice = 2, int pdmCount = 2) {
    FillContext ctx{session, settings, exe.text(), pdmPrice, pdmCount};
    FillTerminal(ctx);
  }

  fs::path work() const { return exe.path() / "tmp_out.txt"; }
  fs::path terminalFile() const { return card.path() / "DATA" / "data_in.txt"; }
  testing::TempFolder exe;
  testing::TempFolder card;
  testing::RecordingUi ui;
  FolderListSource volumes;  // no drives: the session starts with the card found
  TerminalSession session{ui, volumes, std::nullopt};
  LocalSettings settings;
};

std::vector<std::string> success(int count) { return {"max:" + std::to_string(count), kTransfer, kDone, kConnected}; }

TEST(FillTerminal, EveryLayoutEndToEnd) {
  FillRig t;
  struct Case {
    const char* name;
    std::function<void(LocalSettings&)> layout;
    std::string input;
    int pdmPrice, pdmCount;
    std::string file;
  };
  auto only = [](bool LocalSettings::*flag) {
    return [flag](LocalSettings& s) {
      s.Odd_ISK = s.Pevna_dl_ISK = s.CASIO1_ISK = s.Old_ISK = false;
      s.*flag = true;
    };
  };
  const Case cases[] = {
      {"delimiter", only(&LocalSettings::Odd_ISK), "4711;12,5;3;Chlieb\n123;1;-2;Rožok\n", 2, 3,
       "4711;12.50;3.000;Chlieb\r\n123;1.00;-2.000;Rožok\r\n"},
      {"fixed length, PDM 0 gives two decimals", only(&LocalSettings::Pevna_dl_ISK),
       "4711             3,5      1,25     Káva\n", 0, 1, " 4711;1.25;3.5;Káva\r\n"},
      // CASIO 1 always writes two and three decimals.
      {"CASIO 1", only(&LocalSettings::CASIO1_ISK), "12 34 56      Mlieko                         12,50\n", 1, 1,
       "123456;12.50;0.000;Mlieko                    \r\n"},
      {"old", only(&LocalSettings::Old_ISK), "4711 12,50 3   Mlieko polotučné\n", 3, 0,
       "4711;12.500;3.00;Mlieko polotučné\r\n"},
  };
  // The same list as a Linux program writes it, in UTF-8 with or without the mark, reaches the terminal
  // in the same Windows-1250 bytes.
  const struct {
    const char* name;
    std::function<std::string(const std::string&)> encode;
  } encodings[] = {
      {"Windows-1250", [](const std::string& s) { return s; }},
      {"UTF-8", [](const std::string& s) { return cp1250::toUtf8(s); }},
      {"UTF-8 with the mark", [](const std::string& s) { return "\xEF\xBB\xBF" + cp1250::toUtf8(s); }},
  };
  for (const auto& encoding : encodings) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + ", " + encoding.name);
      c.layout(t.settings);
      t.ui.events.clear();
      t.fill(encoding.encode(c.input), c.pdmPrice, c.pdmCount);
      EXPECT_EQ(testing::readFile(t.work()), c.file);
      EXPECT_EQ(testing::readFile(t.terminalFile()), c.file);
      int lines = 0;
      for (std::size_t at = 0; (at = c.file.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
      EXPECT_EQ(t.ui.events, success(lines));
    }
  }
  EXPECT_TRUE(t.ui.messages.back().ownedByWindow);
  EXPECT_EQ(t.ui.messages.back().icon, Icon::Information);
  EXPECT_EQ(t.ui.worstOutcome(), Outcome::Info);
}

TEST(FillTerminal, Utf8CharactersWithoutAWindows1250FormAreReportedByLine) {
  FillRig t;
  // A Cyrillic letter on line 2, an emoji on line 4: both become "?", the rest goes through.
  t.fill("1;1;1;Ro\xC5\xBEok\n2;1;1;\xD0\xB6\n3;1;1;a\n4;1;1;\xF0\x9F\x98\x80\n");
  EXPECT_EQ(testing::readFile(t.terminalFile()),
            "1;1.00;1.00;Ro\x9Eok\r\n2;1.00;1.00;?\r\n3;1.00;1.00;a\r\n4;1.00;1.00;?\r\n");
  ASSERT_FALSE(t.ui.events.empty());
  EXPECT_EQ(
      t.ui.events.front(),
      "box:Pozor...|Niektoré znaky vstupného súboru nemajú tvar vo Windows-1250; do NODRA sa zapísali ako „?“.\r\n"
      "Riadky: 2, 4.");
  EXPECT_EQ(t.ui.worstOutcome(), Outcome::Failure);

  // A file with one byte that is no UTF-8 is the program's own code page, however much else looks like UTF-8.
  t.ui.events.clear();
  t.fill("1;1;1;Ro\xC5\xBEok\n2;1;1;\x9E\n");
  EXPECT_EQ(testing::readFile(t.terminalFile()), "1;1.00;1.00;Ro\xC5\xBEok\r\n2;1.00;1.00;\x9E\r\n");
  EXPECT_EQ(t.ui.events, success(2));
}

TEST(FillTerminal, SameBytesUnderADecimalComma) {
  FillRig t;
  testing::DecimalCommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no decimal-comma locale";
  t.fill("1;1234,5;0,125;a\n2;1.5e2;-7;b\n", 1, 3);
  EXPECT_EQ(testing::readFile(t.terminalFile()), "1;1234.5;0.125;a\r\n2;150.0;-7.000;b\r\n");
}

TEST(FillTerminal, ReplacesOnlyWhatItWrites) {
  FillRig t;
  fs::create_directories(t.card.path() / "data");  // the card's own spelling of the folder is used
  testing::writeFile(t.card.path() / "data" / "DATA_IN.TXT", "old\r\n");
  t.fill("1;1;1;a\n2;2;2;b\n");
  t.fill("3;3;3;c\n");
  EXPECT_EQ(testing::readFile(t.card.path() / "data" / "DATA_IN.TXT"), "3;3.00;3.00;c\r\n");
  EXPECT_FALSE(fs::exists(t.card.path() / "DATA"));
  EXPECT_EQ(testing::readFile(t.work()), "3;3.00;3.00;c\r\n");
}

TEST(FillTerminal, CreatesTheDataFolder) {
  FillRig t;
  t.fill("1;1;1;a\n");
  EXPECT_TRUE(fs::is_directory(t.card.path() / "DATA"));
  EXPECT_EQ(testing::readFile(t.terminalFile()), "1;1.00;1.00;a\r\n");
}

TEST(FillTerminal, AnyNumberOfRecords) {
  FillRig t;
  std::string input;
  std::string expected;
  for (int i = 0; i < 150000; ++i) {
    input += std::to_string(i) + ";1;2;n\n";
    expected += std::to_string(i) + ";1.00;2.00;n\r\n";
  }
  t.fill(input);
  EXPECT_EQ(testing::readFile(t.terminalFile()), expected);
  EXPECT_EQ(t.ui.events, success(150000));
}

TEST(FillTerminal, BadNumbersFailTheRunButTheRestGoesThrough) {
  FillRig t;
  for (int silenced : {0, 1}) {
    SCOPED_TRACE(silenced);
    t.settings.hlaska_data_in = silenced;
    t.ui.events.clear();
    t.ui.resetOutcome();
    t.fill("1;1;1;a\n2;x;1;b\n\n   \n3;3;3;c\n");
    EXPECT_EQ(testing::readFile(t.terminalFile()), "1;1.00;1.00;a\r\n3;3.00;3.00;c\r\n");
    std::vector<std::string> events = success(2);
    if (!silenced) {
      // The lines of the file, not the records being filled.
      events.insert(events.begin(), {"box:Pozor...|Chyba číselnej premennej na riadku 2 (x)",
                                     "box:Pozor...|Chyba číselnej premennej na riadku 3 ()",
                                     "box:Pozor...|Chyba číselnej premennej na riadku 4 ()"});
    }
    EXPECT_EQ(t.ui.events, events);
    EXPECT_EQ(t.ui.worstOutcome(), Outcome::Failure);
  }
}

TEST(FillTerminal, BlankLinesAreWarnedAboutButNoFailure) {
  FillRig t;
  for (int silenced : {0, 1}) {
    SCOPED_TRACE(silenced);
    t.settings.hlaska_data_in = silenced;
    t.ui.events.clear();
    t.fill("\n1;1;1;a\n \t\n\n");
    EXPECT_EQ(testing::readFile(t.terminalFile()), "1;1.00;1.00;a\r\n");
    std::vector<std::string> events = success(1);
    if (!silenced) {
      events.insert(events.begin(), {"box:Pozor...|Chyba číselnej premennej na riadku 1 ()",
                                     "box:Pozor...|Chyba číselnej premennej na riadku 3 ()",
                                     "box:Pozor...|Chyba číselnej premennej na riadku 4 ()"});
    }
    EXPECT_EQ(t.ui.events, events);
    EXPECT_EQ(t.ui.worstOutcome(), Outcome::Info);
  }
}

TEST(FillTerminal, CodeTableTranslatesNamesOnly) {
  FillRig t;
  t.settings.use_tbl = true;
  std::string table;
  for (int k = 0; k < 256; ++k) table.push_back(static_cast<char>(k));
  table['a'] = 'A';
  table['\t'] = 'T';
  testing::writeFile(t.exe.path() / "codepage.tbl", table);
  t.fill("abc;1;1;banana\ta\n");
  EXPECT_EQ(testing::readFile(t.terminalFile()), "abc;1.00;1.00;bAnAnATA\r\n");

  fs::remove(t.exe.path() / "codepage.tbl");
  t.ui.events.clear();
  t.fill("abc;1;1;banana\n");
  EXPECT_EQ(testing::readFile(t.terminalFile()), "abc;1.00;1.00;banana\r\n");
  std::vector<std::string> events = {"box:Pozor...|Súbor codepage.tbl sa nedá otvoriť ",
                                     "status:Chyba pri otvorení súboru codepage.tbl"};
  for (const auto& e : success(1)) events.push_back(e);
  EXPECT_EQ(t.ui.events, events);
}

// Failures that stop the fill: the terminal's file, and where said the work file, stay as they were.
TEST(FillTerminal, FailuresLeaveTheTerminalAlone) {
  struct Case {
    const char* name;
    std::function<void(FillRig&)> arrange;
    std::function<std::vector<std::string>(FillRig&)> events;
    bool workFileKept;
  };
  const std::string noWork = "box:Pozor...|Súbor tmp_out.txt sa nedá otvoriť ";
  const std::string noCopy = "box:Pozor...|Nepodarilo sa nakopírovať súbor do NODRA.";
  const Case cases[] = {
      {"no layout chosen",
       [](FillRig& t) {
         t.settings.Odd_ISK = t.settings.Pevna_dl_ISK = t.settings.CASIO1_ISK = t.settings.Old_ISK = false;
       },
       [](FillRig&) {
         return std::vector<std::string>{
             "status:Nie je zvolený formát vstupného súboru",
             "box:Pozor...|Nie je zvolený formát vstupného súboru.\r\n\r\nDo NODRA sa nič neprenieslo."};
       },
       true},
      {"input file missing", [](FillRig& t) { fs::remove(t.exe.path() / "vstup.txt"); },
       [](FillRig& t) {
         return std::vector<std::string>{
             "status:Chyba pri otvorení súboru " + t.exe.text() + "vstup.txt",
             "box:Pozor...| Vstupný súbor sa nedá otvoriť \r\n\r\nSúbor " + t.exe.text() + "vstup.txt neexistuje."};
       },
       true},
      {"work file cannot be written", [](FillRig& t) { ::chmod(t.exe.path().c_str(), 0555); },
       [=](FillRig& t) {
         return std::vector<std::string>{
             "max:1", kTransfer,
             noWork + "\r\n\r\nSúbor " + t.exe.text() + "tmp_out.txt sa nedá použiť: prístup odmietnutý.",
             "status:Chyba pri otvorení súboru tmp_out.txt"};
       },
       true},
      {"card folder write-protected", [](FillRig& t) { ::chmod((t.card.path() / "DATA").c_str(), 0555); },
       [=](FillRig& t) {
         return std::vector<std::string>{
             "max:1", kTransfer,
             noCopy + "\r\n\r\nSúbor " + t.card.text() + "DATA/data_in.txt sa nedá použiť: prístup odmietnutý.",
             "status:Chyba pri kopirovaní súboru data_in.txt"};
       },
       false},
      // An empty list would wipe the terminal's main store.
      {"no goods read", [](FillRig& t) { testing::writeFile(t.exe.path() / "vstup.txt", "9;x;9;new\n\n"); },
       [](FillRig& t) {
         return std::vector<std::string>{
             "box:Pozor...|Chyba číselnej premennej na riadku 1 (x)",
             "box:Pozor...|Chyba číselnej premennej na riadku 2 ()", "status:Vo vstupnom súbore nie je žiadna položka",
             "box:Pozor...|Vo vstupnom súbore " + t.exe.text() +
                 "vstup.txt sa nenašla žiadna položka.\r\n\r\nDo NODRA sa nič neprenieslo."};
       },
       true},
      {"no terminal", [](FillRig& t) { t.session.drive.reset(); },
       [=](FillRig&) {
         return std::vector<std::string>{"max:1", kTransfer, noCopy, "status:Chyba pri kopirovaní súboru data_in.txt"};
       },
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FillRig t;  // fresh for each case, with an earlier fill's files in place
    testing::writeFile(t.exe.path() / "vstup.txt", "9;9;9;new\n");
    testing::writeFile(t.work(), "old work\r\n");
    ::chmod(t.exe.path().c_str(), 0755);
    testing::writeFile(t.terminalFile(), "old terminal\r\n");
    c.arrange(t);
    t.fill();
    ::chmod(t.exe.path().c_str(), 0755);
    EXPECT_EQ(t.ui.events, c.events(t));
    EXPECT_EQ(t.ui.worstOutcome(), Outcome::Failure);
    EXPECT_EQ(testing::readFile(t.terminalFile()), "old terminal\r\n");
    if (c.workFileKept) {
      EXPECT_EQ(testing::readFile(t.work()), "old work\r\n");
    }
    for (const auto& m : t.ui.messages) EXPECT_FALSE(m.ownedByWindow);
  }
}

// A card pulled out after the detection can leave the empty folder it was mounted on: the list must not be
// written there and pass for delivered.
TEST(FillTerminal, ACardTakenAwayAfterTheDetectionGetsNothing) {
  FillRig t;
  testing::writeFile(t.terminalFile(), "old terminal\r\n");
  const fs::path stash = t.exe.path() / "card taken away";
  fs::create_directories(stash);
  for (const auto& entry : fs::directory_iterator(t.card.path()))
    fs::rename(entry.path(), stash / entry.path().filename());
  t.fill("9;9;9;new\n");
  EXPECT_TRUE(fs::is_empty(t.card.path()));
  EXPECT_EQ(t.ui.events,
            (std::vector<std::string>{"max:1", kTransfer,
                                      "box:Pozor...|Nepodarilo sa nakopírovať súbor do NODRA.\r\n\r\nSúbor " +
                                          t.card.text() + "CONFIG/NODRA3000.ini neexistuje.",
                                      "status:Chyba pri kopirovaní súboru data_in.txt"}));
  EXPECT_EQ(t.ui.worstOutcome(), Outcome::Failure);
  EXPECT_EQ(testing::readFile(stash / "DATA" / "data_in.txt"), "old terminal\r\n");
}

}  // namespace
}  // namespace nodra
