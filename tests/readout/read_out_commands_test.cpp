#include "readout/read_out_commands.h"

#include <functional>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "readout_fixture.h"

namespace nodra {
namespace {

using testing::readFile;
using testing::writeFile;

const std::string kMainStore = "4711;12.5;3;Mlieko;\r\n4712;1;0;Chlieb;\r\n";
const std::string kReport =
    "4711;12.5;1;Mlieko;07.01.2013;1;P;D1;123;\r\n4713;2;2;Syr;07.01.2013;2;P;D1;123;\r\n"
    "4714;3;3;Maslo;07.01.2013;3;P;D1;123;\r\n";
const std::string kVpStore = "D1;4711;Mlieko;2;P;123;12.5;Firma;\r\n";

using Command = void (*)(ReadOutContext&);

class ReadOutCommandTest : public testing::ReadOutTest {
 protected:
  void fillCard() {
    writeMainStore(kMainStore);
    writeReport(kReport);
    writeFile(card("DATA/VP_OUT.TXT"), kVpStore);
  }
  std::set<std::string> programFiles() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(program())) names.insert(entry.path().filename());
    return names;
  }
  unsigned notConnectedMessages() const {
    unsigned n = 0;
    for (const Message& m : ui.messages) n += m.caption == "NODRA nepripojená." ? 1 : 0;
    return n;
  }
};

struct CommandCase {
  const char* letter;
  Command command;
  int mode;
  std::set<std::string> files;
};
void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.letter << " mode " << c.mode; }

class WhatEachCommandWrites : public ReadOutCommandTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(WhatEachCommandWrites, ByReadOutMode) {
  fillCard();
  settings.formatovatData = GetParam().mode;
  GetParam().command(context());
  EXPECT_EQ(programFiles(), GetParam().files);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.worstOutcome(), Outcome::Info);
  EXPECT_EQ(ui.driveText, "X:");
}

const std::set<std::string> kFormattedAll{"data_outv.txt", "zostavy.txt", "data_outn.txt", "tmp_in.txt"};
const std::set<std::string> kNonZero{"data_outn.txt", "tmp_in.txt"};

INSTANTIATE_TEST_SUITE_P(
    Table, WhatEachCommandWrites,
    ::testing::Values(CommandCase{"V", readOutAll, kRawCopy, {"DATA_OUT.TXT", "VP_OUT.TXT", "ZOST_OUT.TXT"}},
                      CommandCase{"V", readOutAll, kFormatted, kFormattedAll},
                      CommandCase{
                          "V", readOutAll, kXml, {"DATA_OUT.XML", "VP_OUT.XML", "ZOST_OUT.XML", "DATA_OUTN.XML"}},
                      CommandCase{"V", readOutAll, kXmlRefused, {}},
                      CommandCase{"N", readOutNonZero, kRawCopy, kNonZero},
                      CommandCase{"N", readOutNonZero, kFormatted, kNonZero},
                      CommandCase{"N", readOutNonZero, kXml, {"data_outn.txt", "tmp_in.txt", "DATA_OUTN.XML"}},
                      CommandCase{"N", readOutNonZero, kXmlRefused, kNonZero},
                      CommandCase{"P", readOutReport, kRawCopy, {"VP_OUT.TXT", "ZOST_OUT.TXT"}},
                      CommandCase{"P", readOutReport, kFormatted, {"zostavy.txt", "tmp_in.txt"}},
                      CommandCase{"P", readOutReport, kXml, {"VP_OUT.XML", "ZOST_OUT.XML"}},
                      CommandCase{"P", readOutReport, kXmlRefused, {}}),
    [](const auto& p) { return std::string(p.param.letter) + "_mode" + std::to_string(p.param.mode); });

TEST_F(ReadOutCommandTest, FormattedFullReadOutWritesThreeFiles) {
  fillCard();
  readOutAll(context());
  EXPECT_EQ(readFile(program("data_outv.txt")), "4711;12.50;3.00;Mlieko\r\n4712;1.00;0.00;Chlieb\r\n");
  EXPECT_EQ(readFile(program("zostavy.txt")),
            "4711;12.50;1.00;Mlieko\r\n4713;2.00;2.00;Syr\r\n4714;3.00;3.00;Maslo\r\n");
  EXPECT_EQ(readFile(program("data_outn.txt")), "4711;12.50;3.00;Mlieko\r\n");
  // Main store, report, then the non-zero pass over the main store's two lines.
  EXPECT_EQ(terminalSettingsReads, 3u);
  EXPECT_EQ(ui.lastCount, 2u);
  EXPECT_EQ(ui.lastStatus(), "Dáta vyčítané");
  EXPECT_TRUE(context().nonZeroOnly);  // nothing resets it afterwards
}

TEST_F(ReadOutCommandTest, MissingMainStoreStillConvertsTheReport) {
  writeReport(kReport);
  readOutAll(context());
  ASSERT_EQ(ui.messages.size(), 1u);  // the non-zero pass stays silent
  EXPECT_NE(ui.messages[0].text.find("data_out.txt neexistuje."), std::string::npos);
  EXPECT_EQ(programFiles(), (std::set<std::string>{"zostavy.txt", "tmp_in.txt"}));
  EXPECT_EQ(ui.lastStatus(), "Chyba: vyčítaj.");
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
}

TEST_F(ReadOutCommandTest, RawCopiesAreByteForByte) {
  fillCard();
  settings.formatovatData = kRawCopy;
  readOutAll(context());
  EXPECT_EQ(readFile(program("DATA_OUT.TXT")), kMainStore);
  EXPECT_EQ(readFile(program("ZOST_OUT.TXT")), kReport);
  EXPECT_EQ(readFile(program("VP_OUT.TXT")), kVpStore);
  EXPECT_EQ(ui.statuses, std::vector<std::string>{"Dáta vyčítané"});
}

TEST_F(ReadOutCommandTest, RawReadOutWithoutVpStoreIsSuccess) {
  writeMainStore(kMainStore);
  writeReport(kReport);
  settings.formatovatData = kRawCopy;
  readOutAll(context());
  EXPECT_EQ(programFiles(), (std::set<std::string>{"DATA_OUT.TXT", "VP_OUT.TXT", "ZOST_OUT.TXT"}));
  EXPECT_EQ(readFile(program("VP_OUT.TXT")), "");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.lastStatus(), "Dáta vyčítané");
}

TEST_F(ReadOutCommandTest, RawReadOutWithoutReportIsAFailure) {
  writeMainStore(kMainStore);
  settings.formatovatData = kRawCopy;
  readOutAll(context());
  EXPECT_EQ(programFiles(), (std::set<std::string>{"DATA_OUT.TXT", "VP_OUT.TXT"}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("ZOST_OUT.TXT"), std::string::npos);
  EXPECT_EQ(ui.lastStatus(), "Chyba: vyčítaj.");
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
}

struct NoTerminalCase {
  const char* letter;
  Command command;
  int mode;
  unsigned notConnected;
};
void PrintTo(const NoTerminalCase& c, std::ostream* os) { *os << c.letter << " mode " << c.mode; }

class WithoutTerminal : public ReadOutCommandTest, public ::testing::WithParamInterface<NoTerminalCase> {};

TEST_P(WithoutTerminal, NothingIsWritten) {
  fillCard();
  *volumes = FolderListSource();  // no drives
  settings.formatovatData = GetParam().mode;
  GetParam().command(context());
  EXPECT_TRUE(programFiles().empty());
  EXPECT_EQ(notConnectedMessages(), GetParam().notConnected);
  EXPECT_EQ(ui.messages.size(), GetParam().notConnected);
  EXPECT_EQ(ui.worstOutcome(), Outcome::NoTerminal);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WithoutTerminal,
    ::testing::Values(NoTerminalCase{"V", readOutAll, kFormatted, 1}, NoTerminalCase{"V", readOutAll, kXml, 1},
                      NoTerminalCase{"N", readOutNonZero, kFormatted, 1},
                      // The XML writer detects on its own and tells the user again.
                      NoTerminalCase{"N", readOutNonZero, kXml, 2}, NoTerminalCase{"P", readOutReport, kRawCopy, 1}),
    [](const auto& p) { return std::string(p.param.letter) + "_mode" + std::to_string(p.param.mode); });

}  // namespace
}  // namespace nodra

namespace nodra {
namespace {

// An output that would overwrite what the run needs, another output of the run, or the card: nothing is
// read out and nothing written.
TEST_F(ReadOutCommandTest, OutputsThatWouldLoseDataAreRefusedBeforeAnythingIsWritten) {
  struct Case {
    const char* label;
    int mode;
    std::function<void(LocalSettings&, const std::filesystem::path& program, const std::filesystem::path& card)>
        arrange;
    const char* says;
  };
  const Case cases[] = {
      {"the work file", kFormatted,
       [](LocalSettings& s, [[maybe_unused]] const std::filesystem::path& p,
          [[maybe_unused]] const std::filesystem::path& k) { s.path_outn = (p / "tmp_in.txt").string(); },
       "tmp_in.txt"},
      {"the settings file", kFormatted,
       [](LocalSettings& s, [[maybe_unused]] const std::filesystem::path& p,
          [[maybe_unused]] const std::filesystem::path& k) { s.path_zostava = (p / "nodra3000.ini").string(); },
       "nodra3000.ini"},
      {"another output", kFormatted,
       [](LocalSettings& s, [[maybe_unused]] const std::filesystem::path& p,
          [[maybe_unused]] const std::filesystem::path& k) { s.path_outn = (p / "sub/../data_outv.txt").string(); },
       "iný výstup"},
      {"the card's own store", kFormatted,
       [](LocalSettings& s, [[maybe_unused]] const std::filesystem::path& p,
          [[maybe_unused]] const std::filesystem::path& k) { s.path_outv = (k / "DATA/DATA_OUT.TXT").string(); },
       "na karte"},
      {"raw copies onto the card", kRawCopy,
       [](LocalSettings& s, [[maybe_unused]] const std::filesystem::path& p,
          [[maybe_unused]] const std::filesystem::path& k) { s.path_suroveData = (k / "DATA/x").string(); },
       "na karte"},
      {"XML onto the card", kXml,
       [](LocalSettings& s, [[maybe_unused]] const std::filesystem::path& p,
          [[maybe_unused]] const std::filesystem::path& k) { s.path_xmlOut = (k / "x").string(); },
       "na karte"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ui.messages.clear();
    ui.resetOutcome();
    fillCard();
    settings = LocalSettings::defaults(exeFolder());
    settings.formatovatData = c.mode;
    std::filesystem::create_directories(program("sub"));
    c.arrange(settings, program(), card());
    readOutAll(context());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find(c.says), std::string::npos) << ui.messages[0].text;
    EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
    EXPECT_EQ(programFiles(), std::set<std::string>{"sub"});
    EXPECT_EQ(readFile(card("DATA/DATA_OUT.TXT")), kMainStore);
  }
}

// Not even the archive is made: a refused run neither writes it nor rotates an older one away.
TEST_F(ReadOutCommandTest, FormattedReadOutWithoutALayoutWritesNothing) {
  fillCard();
  settings.Odd_OSK = settings.Pevna_dl_OSK = settings.CASIO1_OSK = settings.Old_OSK = false;
  settings.path_archiv = program("archiv").string();
  for (Command command : {readOutAll, readOutNonZero, readOutReport}) {
    ui.messages.clear();
    command(context());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("Nie je zvolený formát výstupných súborov"), std::string::npos);
    EXPECT_TRUE(programFiles().empty());
    EXPECT_EQ(ui.lastStatus(), "Chyba: vyčítaj.");
  }
}

// In XML mode the text layouts are switched off on the page: the non-zero read-out writes its XML file and
// says nothing of a missing text layout.
TEST_F(ReadOutCommandTest, NonZeroXmlReadOutNeedsNoTextLayout) {
  fillCard();
  settings.formatovatData = kXml;
  settings.Odd_OSK = settings.Pevna_dl_OSK = settings.CASIO1_OSK = settings.Old_OSK = false;
  readOutNonZero(context());
  EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text;
  EXPECT_EQ(programFiles(), std::set<std::string>{"DATA_OUTN.XML"});
  EXPECT_EQ(ui.lastStatus(), "Dáta vyčítané");
}

TEST_F(ReadOutCommandTest, XmlReadOutEndsWithTheDoneStatus) {
  fillCard();
  settings.formatovatData = kXml;
  readOutAll(context());
  EXPECT_EQ(ui.lastStatus(), "Dáta vyčítané");
  // A writer that failed leaves no such word.
  std::filesystem::remove(card("DATA/ZOST_OUT.TXT"));
  readOutReport(context());
  EXPECT_NE(ui.lastStatus(), "Dáta vyčítané");
}

}  // namespace
}  // namespace nodra
