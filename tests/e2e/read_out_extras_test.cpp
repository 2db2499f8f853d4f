// What the read-out gives beyond the original, switched on by a setting: an archive of the card's files before
// every read-out, and accented names kept through every layout and back through the code table.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "e2e/run_program.h"
#include "platform/cp1250.h"
#include "terminal_standin.h"

namespace nodra::testing {
namespace {

namespace fs = std::filesystem;

struct Scene {
  TempFolder dir;
  fs::path card = dir / "NODRA";
  fs::path home = dir / "home";
  fs::path archive = dir / "archiv";

  Scene() {
    fs::copy(NODRA_DEMO_TERMINAL, card, fs::copy_options::recursive);
    writeFile(card / "DATA" / "ZOST_OUT.TXT", "4711;1.5;2;Mlieko;01.12.2026;1;P;D1;123;\r\n");
    fs::create_directories(home);
  }
  void settings(const std::string& lines) const { writeFile(home / "nodra3000.ini", lines); }
  RunResult run(const std::string& letter) {
    return runProgram({letter, "/nodsp"}, {{"NODRA3000_DRIVES", card.string()}, {"NODRA3000_HOME", home.string()}},
                      dir.path());
  }
  std::vector<std::string> archives() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(archive, ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

std::string archiveSettings(const Scene& s, int mode, int keep = 30) {
  return "[GLOBAL]\r\nformatovatData=" + std::to_string(mode) + "\r\narchiv_pocet=" + std::to_string(keep) +
         "\r\n[PATHS]\r\npath_archiv=" + s.archive.string() + "\r\n";
}

// Every read-out command in every mode first copies the card's files, byte for byte, into a new folder.
TEST(ReadOutArchive, EveryCommandKeepsTheCardsFilesAsTheyWere) {
  for (const char* letter : {"V", "N", "P"}) {
    for (int mode : {0, 1, 2}) {
      SCOPED_TRACE(std::string(letter) + " in mode " + std::to_string(mode));
      Scene s;
      s.settings(archiveSettings(s, mode));
      const RunResult r = s.run(letter);
      EXPECT_EQ(r.exitCode, 0) << r.stderrText;
      const auto made = s.archives();
      ASSERT_EQ(made.size(), 1u);
      EXPECT_EQ(made[0].size(), 17u) << made[0];  // YYYY-MM-DD_HHMMSS
      const fs::path folder = s.archive / made[0];
      for (const char* name : {"DATA_OUT.TXT", "ZOST_OUT.TXT", "VP_OUT.TXT"}) {
        EXPECT_EQ(readFile(folder / name), readFile(s.card / "DATA" / name)) << name;
      }
      EXPECT_EQ(readFile(folder / "NODRA3000.ini"), readFile(s.card / "CONFIG" / "NODRA3000.ini"));
    }
  }
}

// Runs in the same second get folders of their own; only the newest archiv_pocet stay, and nothing else of
// the folder is touched.
TEST(ReadOutArchive, KeepsOnlyTheNewestFoldersAndTouchesNothingElse) {
  Scene s;
  fs::create_directories(s.archive / "2020-01-01_000000");  // older than any run of the test
  fs::create_directories(s.archive / "moje poznamky");
  writeFile(s.archive / "2019-01-01_000000.txt", "not a folder of the archive");
  s.settings(archiveSettings(s, 1, 3));
  for (int i = 0; i < 5; ++i) ASSERT_EQ(s.run("P").exitCode, 0);
  const auto names = s.archives();
  std::vector<std::string> archives;
  for (const auto& n : names) {
    if (n.size() >= 17 && n[4] == '-' && n.find('.') == std::string::npos && n != "moje poznamky") {
      archives.push_back(n);
    }
  }
  EXPECT_EQ(archives.size(), 3u) << ::testing::PrintToString(names);
  EXPECT_EQ(std::count(names.begin(), names.end(), "2020-01-01_000000"), 0);
  EXPECT_EQ(std::count(names.begin(), names.end(), "moje poznamky"), 1);
  EXPECT_EQ(std::count(names.begin(), names.end(), "2019-01-01_000000.txt"), 1);
}

// The folder a run makes is its newest, even when older ones carry later names (a clock set back, a time
// change); a folder number too long for any integer is an ordinary name.
TEST(ReadOutArchive, TheNewFolderSurvivesItsOwnRotation) {
  Scene s;
  for (const char* name : {"2099-01-01_000000", "2099-01-01_000000_2", "2020-01-01_000000_99999999999999999999999"}) {
    fs::create_directories(s.archive / name);
  }
  s.settings(archiveSettings(s, 1, 2));
  ASSERT_EQ(s.run("V").exitCode, 0);
  const auto names = s.archives();
  ASSERT_EQ(names.size(), 2u) << ::testing::PrintToString(names);
  EXPECT_EQ(std::count(names.begin(), names.end(), "2099-01-01_000000_2"), 1);
  for (const auto& name : names) {
    if (name == "2099-01-01_000000_2") continue;
    EXPECT_EQ(readFile(s.archive / name / "DATA_OUT.TXT"), readFile(s.card / "DATA" / "DATA_OUT.TXT")) << name;
  }
}

// An archive that cannot be made stops the read-out before any output is replaced.
TEST(ReadOutArchive, AnArchiveThatCannotBeMadeLeavesEveryOutputAlone) {
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    Scene s;
    writeFile(s.archive, "a file where the folder should be");
    s.settings(archiveSettings(s, mode));
    std::map<std::string, std::string> before;
    for (const char* name : {"data_outv.txt", "zostavy.txt", "DATA_OUT.TXT", "DATA_OUT.XML"}) {
      writeFile(s.home / name, "yesterday");
      before[name] = "yesterday";
    }
    const RunResult r = s.run("V");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.stderrText.find(cp1250::toUtf8("Archív vyčítania sa nepodarilo vytvoriť")), std::string::npos)
        << r.stderrText;
    for (const auto& [name, bytes] : before) EXPECT_EQ(readFile(s.home / name), bytes) << name;
    EXPECT_FALSE(fs::exists(s.home / "tmp_in.txt"));
  }
}

// With Diakritika the terminal's accented letters survive every layout and the XML files; with the code table
// in use, names filled through it come back as the PC wrote them.
TEST(KeptAccents, NamesComeBackWholeThroughEveryLayout) {
  struct Layout {
    const char* label;
    const char* lines;  // settings of the output layout
    std::string expected;
  };
  // "Čokoláda" in Windows-1250, as the card holds it.
  const std::string name = "\xC8okol\xE1\x64\x61";
  const Layout layouts[] = {
      {"delimiter", "", "7;1.00;2.00;" + name + "\r\n"},
      {"fixed length", "[OutFormat Oddelovac]\r\nOdd_OSK=0\r\n[OutFormat Pevna_dlzka]\r\nPevna_dl_OSK=1\r\n",
       std::string(14, ' ') + "7" + "    1.00" + "    2.00" + name + "\r\n"},
      {"old", "[OutFormat Oddelovac]\r\nOdd_OSK=0\r\n[OutFormat Old]\r\nOld_OSK=1\r\n",
       std::string(15, ' ') + "7" + "00000200" + "     100" + name + "\r\n"},
  };
  for (const Layout& l : layouts) {
    SCOPED_TRACE(l.label);
    Scene s;
    writeFile(s.card / "DATA" / "DATA_OUT.TXT", "7;1;2;" + name + ";\r\n");
    s.settings(std::string("[Format]\r\nDiakritika=1\r\n") + l.lines);
    ASSERT_EQ(s.run("N").exitCode, 0);
    EXPECT_EQ(readFile(s.home / "data_outn.txt"), l.expected);
  }
  // The XML files hold the same characters in UTF-8; without the setting they go, as before.
  for (bool kept : {true, false}) {
    SCOPED_TRACE(kept);
    Scene s;
    writeFile(s.card / "DATA" / "DATA_OUT.TXT", "7;1;2;" + name + ";\r\n");
    s.settings(std::string("[GLOBAL]\r\nformatovatData=2\r\n[Format]\r\nDiakritika=") + (kept ? "1" : "0") + "\r\n");
    ASSERT_EQ(s.run("V").exitCode, 0);
    const std::string xml = readFile(s.home / "DATA_OUT.XML");
    EXPECT_NE(xml.find(kept ? "<NAZOV>\xC4\x8Cokol\xC3\xA1\x64\x61</NAZOV>" : "<NAZOV>okolda</NAZOV>"),
              std::string::npos)
        << xml;
  }
}

// A fill, the terminal's take-over and a read-out give the PC's names back in every layout and in XML, with
// the code table in use and without it.
TEST(KeptAccents, AFilledNameComesBackAsThePcWroteIt) {
  // The table swaps "č" and "Č": the card holds "Čaj", and the read-out gives the PC's "čaj" back.
  std::string table;
  for (int k = 0; k < 256; ++k) table.push_back(static_cast<char>(k));
  table[0xE8] = '\xC8';
  table[0xC8] = '\xE8';
  const std::string pcName = "\xE8\x61j";  // "čaj"
  struct Output {
    const char* label;
    const char* letter;
    const char* lines;  // settings of the output
    const char* file;
    std::string expected;
    const char* global = "";  // lines of [GLOBAL]
  };
  const Output outputs[] = {
      {"delimiter", "N", "", "data_outn.txt", "7;1.00;2.00;" + pcName + "\r\n"},
      {"fixed length", "N", "[OutFormat Oddelovac]\r\nOdd_OSK=0\r\n[OutFormat Pevna_dlzka]\r\nPevna_dl_OSK=1\r\n",
       "data_outn.txt", std::string(14, ' ') + "7" + "    1.00" + "    2.00" + pcName + "\r\n"},
      {"old", "N", "[OutFormat Oddelovac]\r\nOdd_OSK=0\r\n[OutFormat Old]\r\nOld_OSK=1\r\n", "data_outn.txt",
       std::string(15, ' ') + "7" + "00000200" + "     100" + pcName + "\r\n"},
      {"XML", "V", "", "DATA_OUT.XML", "<NAZOV>\xC4\x8D\x61j</NAZOV>", "formatovatData=2\r\n"},
  };
  for (bool useTable : {true, false}) {
    for (const Output& o : outputs) {
      SCOPED_TRACE(std::string(o.label) + (useTable ? " through the code table" : " without a code table"));
      Scene s;
      if (useTable) writeFile(s.home / "codepage.tbl", table);
      writeFile(s.home / "data_in.txt", "7;1;2;" + pcName + "\r\n");
      s.settings(std::string(o.lines) + "[GLOBAL]\r\nuse_tbl=" + (useTable ? "1" : "0") + "\r\n" + o.global +
                 "[Format]\r\nDiakritika=1\r\n[PATHS]\r\npath_ins=" + (s.home / "data_in.txt").string() + "\r\n");
      ASSERT_EQ(s.run("O").exitCode, 0);
      // The demo terminal counts in three decimals.
      EXPECT_EQ(readFile(s.card / "DATA" / "data_in.txt"),
                "7;1.00;2.000;" + std::string(useTable ? "\xC8\x61j" : pcName) + "\r\n");
      standin::playTerminal(s.card);
      ASSERT_EQ(s.run(o.letter).exitCode, 0);
      const std::string out = readFile(s.home / o.file);
      if (std::string(o.file) == "DATA_OUT.XML") {
        EXPECT_NE(out.find(o.expected), std::string::npos) << out;
      } else {
        EXPECT_EQ(out, o.expected);
      }
    }
  }
}

}  // namespace
}  // namespace nodra::testing
