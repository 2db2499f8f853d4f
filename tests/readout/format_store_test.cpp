#include "readout/format_store.h"

#include <sys/stat.h>

#include <charconv>
#include <string>

#include <gtest/gtest.h>

#include "readout/layout_writers.h"
#include "readout_fixture.h"
#include "support/file_size_limit.h"

namespace nodra {
namespace {

using testing::readFile;
using testing::writeFile;

const std::string kTwoItems = "4711;12.5;3;Mlieko;\n4712;1;0;Chlieb;\n";

std::string numberText(float value) {
  char text[32];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return std::string(text, end);
}

class FormatStoreTest : public testing::ReadOutTest {
 protected:
  std::string outv() const { return program("data_outv.txt").string(); }
  std::string run(char mode = 'R', const std::string& identifier = "hlavnySklad") {
    FormatStore(context(), mode, outv(), identifier);
    return readFile(outv());
  }
};

TEST_F(FormatStoreTest, WritesEveryItemAndReportsProgress) {
  writeMainStore(kTwoItems);
  EXPECT_EQ(run(), "4711;12.50;3.00;Mlieko\r\n4712;1.00;0.00;Chlieb\r\n");
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.statuses.front(), "Čakajte prosím prebieha prenos DAT ");
  EXPECT_EQ(ui.lastStatus(), "Dáta vyčítané");
  EXPECT_EQ(ui.titles, std::vector<std::string>{"NODRA3000MMC"});
  EXPECT_EQ(ui.progressCalls.size(), 2u);
  EXPECT_EQ(ui.lastCount, 2u);
  EXPECT_EQ(terminalSettingsReads, 1u);
  EXPECT_EQ(readFile(program("tmp_in.txt")), kTwoItems);
  EXPECT_EQ(ui.worstOutcome(), Outcome::Info);
}

TEST_F(FormatStoreTest, NonZeroOnlySkipsItemsOfQuantityZero) {
  writeMainStore(kTwoItems + "4713;1;0.000;x;\n4714;1;-1;y;\n4715;1;abc;z;\n");
  context().nonZeroOnly = true;
  EXPECT_EQ(run(), "4711;12.50;3.00;Mlieko\r\n4714;1.00;-1.00;y\r\n");
  EXPECT_EQ(ui.lastCount, 5u);  // skipped items are still counted
}

TEST_F(FormatStoreTest, ReportModeReadsTheReportWhateverTheCase) {
  writeMainStore("main;1;1;m;\n");
  writeReport("rep;2;3;r;07.01.2013;1;P;D1;123;\n");
  EXPECT_EQ(run('r', "zostava"), "rep;2.00;3.00;r\r\n");
}

TEST_F(FormatStoreTest, WritesOneLinePerSetLayoutInTheFixedOrder) {
  writeMainStore("4711;12.5;3;Mlieko;\n");
  settings.CASIO1_OSK = settings.Pevna_dl_OSK = settings.Odd_OSK = settings.Old_OSK = true;
  const std::string expected = "4711" + std::string(10, ' ') + "      3.000     12.50   \r\n" +  // CASIO 1
                               std::string(11, ' ') + "4711   12.50    3.00Mlieko\r\n" +         // fixed
                               "4711;12.50;3.00;Mlieko\r\n" +                                    // delimiter
                               std::string(12, ' ') + "471100000300    1250Mlieko\r\n";          // old
  EXPECT_EQ(run(), expected);
}

TEST_F(FormatStoreTest, ShortLinesAreSkippedAndMissingFieldsStayEmpty) {
  // A line with fewer than four fields must not carry the item before it.
  writeMainStore("4711;12.5;3;Mlieko;\r\n\r\nabc\r\n1234\n12345\n4712;\n4713;7;\n" + std::string(300, 'x') + "\n");
  EXPECT_EQ(run(),
            "4711;12.50;3.00;Mlieko\r\n;0.00;0.00;\r\n4712;0.00;0.00;\r\n4713;7.00;0.00;\r\n"
            ";0.00;0.00;\r\n;0.00;0.00;\r\n");
  EXPECT_EQ(ui.lastCount, 6u);
}

TEST_F(FormatStoreTest, NumberBeyondFloatRangeWarnsAndWritesZero) {
  writeMainStore("4711;1e39;2;X;\n4712;1;-1e40;Y;\n");
  EXPECT_EQ(run(), "4711;0.00;2.00;X\r\n4712;1.00;0.00;Y\r\n");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "Nekorektny zaznam na polozke s kodom 4711\nkarta bude ulozene s nulovou hodnotou");
  EXPECT_EQ(ui.messages[1].text, "Nekorektny zaznam na polozke s kodom 4712\nkarta bude ulozene s nulovou hodnotou");
  EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
  EXPECT_EQ(ui.messages[0].buttons, Buttons::Ok);
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
  EXPECT_EQ(ui.lastStatus(), "Dáta vyčítané");
}

TEST_F(FormatStoreTest, BytesThroughTheBufferEqualTheWritersOutput) {
  // Far more than one buffer, in two layouts, so flushes fall inside and between lines.
  std::string store;
  std::string expected;
  settings.Pevna_dl_OSK = true;
  OutputItem item;
  for (int i = 0; i < 6000; ++i) {
    std::string code = std::to_string(8580000000000 + i * 7);
    std::string name = "Tovar c. " + std::to_string(i);
    float price = static_cast<float>(i % 977) / 4.0f;
    float quantity = static_cast<float>(i % 13) - 3.0f;
    store += code + ";" + numberText(price) + ";" + numberText(quantity) + ";" + name + ";\r\n";
    item.clear();
    item.code = code, item.price = price, item.quantity = quantity, item.name = name;
    WriteFixedLine(expected, item, settings);
    WriteDelimitedLine(expected, item, settings);
  }
  writeMainStore(store);
  EXPECT_EQ(run(), expected);
  EXPECT_EQ(ui.lastCount, 6000u);
}

struct MissingStoreCase {
  const char* identifier;
  bool box;
};
void PrintTo(const MissingStoreCase& c, std::ostream* os) { *os << c.identifier; }

class MissingStore : public FormatStoreTest, public ::testing::WithParamInterface<MissingStoreCase> {};

TEST_P(MissingStore, OnlyTheFirstPassesShowABox) {
  writeFile(outv(), "earlier run");
  EXPECT_EQ(run('R', GetParam().identifier), "earlier run");
  EXPECT_EQ(ui.messages.size(), GetParam().box ? 1u : 0u);
  if (GetParam().box) {
    const Message& m = ui.messages[0];
    EXPECT_EQ(m.text, "Súbor " + card().string() + "DATA/data_out.txt neexistuje.");
    EXPECT_EQ(m.caption, "Chyba: vyčítaj.");
    EXPECT_EQ(m.icon, Icon::Warning);
    EXPECT_TRUE(m.ownedByWindow);
    EXPECT_TRUE(m.onTop);
  }
  EXPECT_EQ(ui.lastStatus(), "Chyba: vyčítaj.");
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
  EXPECT_TRUE(ui.titles.empty());
}

INSTANTIATE_TEST_SUITE_P(Identifiers, MissingStore,
                         ::testing::Values(MissingStoreCase{"hlavnySklad", true}, MissingStoreCase{"zostava", true},
                                           MissingStoreCase{"nenulove", false}));

TEST_F(FormatStoreTest, OutputThatCannotBeCreatedShowsTheAbortDialog) {
  writeMainStore(kTwoItems);
  const std::string output = program("missing/out.txt").string();
  FormatStore(context(), 'R', output, "hlavnySklad");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Subor " + output + " sa nepodarilo otvorit (súbor alebo priečinok neexistuje)");
  EXPECT_EQ(ui.messages[0].icon, Icon::Error);
  EXPECT_EQ(ui.messages[0].buttons, Buttons::Abort);
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
  EXPECT_EQ(ui.lastStatus(), "Čakajte prosím prebieha prenos DAT ");
  EXPECT_EQ(readFile(program("tmp_in.txt")), kTwoItems);  // the work file was already refreshed
}

// The earlier run's output is kept rather than emptied: a failed read-out must not lose yesterday's file.
TEST_F(FormatStoreTest, OutputStaysAsItWasWhenTheWorkFileCannotBeOpened) {
  writeFile(outv(), "earlier run");
  const std::string workFile = program("no_such_tmp.txt").string();
  convertStore(context(), workFile, outv());
  EXPECT_EQ(readFile(outv()), "earlier run");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Subor " + workFile + " sa nepodarilo otvorit (súbor alebo priečinok neexistuje)");
  EXPECT_EQ(ui.messages[0].caption, "Chyba pri prenose údajov.");
  EXPECT_EQ(ui.messages[0].icon, Icon::Warning);
  EXPECT_TRUE(ui.messages[0].ownedByWindow);
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
}

TEST_F(FormatStoreTest, FailedWriteIsNoSuccessAndKeepsTheEarlierOutput) {
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "4711;12.5;3;Mlieko;\r\n";
  writeMainStore(many);
  writeFile(outv(), "earlier run");
  {
    testing::FileSizeLimit full(static_cast<rlim_t>(many.size()) + 1000);  // the work copy fits, the output not
    FormatStore(context(), 'R', outv(), "hlavnySklad");
  }
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find(outv()), std::string::npos);
  EXPECT_NE(ui.messages[0].text.find("súbor je príliš veľký"), std::string::npos);
  EXPECT_EQ(ui.lastStatus(), "Chyba: vyčítaj.");
  EXPECT_EQ(ui.worstOutcome(), Outcome::Failure);
  EXPECT_EQ(readFile(outv()), "earlier run");
}

TEST_F(FormatStoreTest, OverlongWorkPathIsRefusedNotCut) {
  writeMainStore(kTwoItems);
  // 149 bytes with "tmp_in.txt" pass, one more is refused.
  for (std::size_t extra : {0u, 1u}) {
    std::string folder = program().string();
    folder += std::string(149 - folder.size() - 10 - 1 + extra, 'p') + "/";
    std::filesystem::create_directories(folder);
    ReadOutContext ctx{context().session, settings, folder, context().readTerminalSettings};
    ui.messages.clear();
    FormatStore(ctx, 'R', outv(), "hlavnySklad");
    EXPECT_EQ(std::filesystem::exists(folder + "tmp_in.txt"), extra == 0) << extra;
    if (extra == 0) {
      EXPECT_TRUE(ui.messages.empty());
      EXPECT_EQ(ui.lastStatus(), "Dáta vyčítané");
    } else {
      ASSERT_EQ(ui.messages.size(), 1u);
      EXPECT_NE(ui.messages[0].text.find(folder + "tmp_in.txt"), std::string::npos);
      EXPECT_NE(ui.messages[0].text.find("149"), std::string::npos);
      EXPECT_EQ(ui.lastStatus(), "Chyba: vyčítaj.");
    }
  }
}

}  // namespace
}  // namespace nodra
