#include "xml/xml_writers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/file_size_limit.h"
#include "xml/xml_store_export.h"
#include "xml/xml_store_layout.h"
#include "xml_test_support.h"

namespace nodra {
namespace {

namespace fs = std::filesystem;

std::string polozka(const std::vector<std::pair<std::string, std::string>>& children) {
  std::string out = "<POLOZKA>";
  for (const auto& [name, text] : children) {
    out += text.empty() ? "<" + name + "/>" : "<" + name + ">" + text + "</" + name + ">";
  }
  return out + "</POLOZKA>";
}

std::string mainItem(std::string kod, std::string cena, std::string pocet, std::string nazov) {
  return polozka({{"KOD", kod}, {"CENA", cena}, {"POCET", pocet}, {"NAZOV", nazov}});
}

struct LayoutCase {
  const char* name;
  const XmlStoreLayout* layout;
  const char* terminalFile;  // on the card, in the spelling the terminal chose
  std::string input;
  std::string expected;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

const std::string kLongLine = "K;1;1;" + std::string(290, 'N') + "X;4;\n";

const LayoutCase kLayoutCases[] = {
    {"MainStore", &kXmlMainStore, "DATA/data_out.txt",
     "123;12.30;2;Mlieko  ;\n"
     "\n"
     "ABC;1;1;Káva;\r\n"
     "A&B;0.1;-1.5; <x> & y;extra;\n"
     "no semicolons here\n"
     "abc\n"
     "ABC;1;1",
     "<DATA_OUT>" + mainItem("123", "12.3", "2", "Mlieko") + "<POLOZKA/>" + mainItem("ABC", "1", "1", "Kva") +
         mainItem("A&amp;B", "0.1", "-1.5", " &lt;x&gt; &amp; y") + mainItem("", "", "", "") + "<POLOZKA/>" +
         mainItem("ABC", "1", "", "") + "</DATA_OUT>"},
    {"CapitalisedTerminalFile", &kXmlMainStore, "data/DATA_OUT.TXT", "4711;12.5;3;Mlieko;\n",
     "<DATA_OUT>" + mainItem("4711", "12.5", "3", "Mlieko") + "</DATA_OUT>"},
    {"FinalLineEnd", &kXmlMainStore, "DATA/data_out.txt", "R1;1;1;A;\nR2;2;2;B;\n",
     "<DATA_OUT>" + mainItem("R1", "1", "1", "A") + mainItem("R2", "2", "2", "B") + "</DATA_OUT>"},
    {"NoFinalLineEnd", &kXmlMainStore, "DATA/data_out.txt", "R1;1;1;A;\nR2;2;2;B;",
     "<DATA_OUT>" + mainItem("R1", "1", "1", "A") + mainItem("R2", "2", "2", "B") + "</DATA_OUT>"},
    {"LongLineIsReadAsTwo", &kXmlMainStore, "DATA/data_out.txt", kLongLine,
     "<DATA_OUT>" + mainItem("K", "1", "1", "") + mainItem(std::string(48, 'N') + "X", "4", "", "") + "</DATA_OUT>"},
    {"EmptyMainStore", &kXmlMainStore, "DATA/data_out.txt", "", "<DATA_OUT/>"},
    {"VpStore", &kXmlVpStore, "DATA/VP_OUT.TXT", "D1;K1;Name;2.5;P;12345678;19.99;Firma;extra;\n\n",
     "<VP_OUT>" +
         polozka({{"DOKLAD", "D1"},
                  {"KOD", "K1"},
                  {"NAZOV", "Name"},
                  {"POCET", "2.5"},
                  {"TYP", "P"},
                  {"ICO", "12345678"},
                  {"CENA", "19.99"},
                  {"FIRMA", "Firma"}}) +
         "<POLOZKA/></VP_OUT>"},
    {"EmptyVpStore", &kXmlVpStore, "DATA/vp_out.txt", "", "<VP_OUT/>"},
    {"Report", &kXmlReport, "DATA/zost_out.txt",
     "K1;1.5;2;Name;01.02.2024;7.9;T;DOK1;ICO1;\n"
     "K2;1;1;N;D;-3.9;;;;\n"
     "K3;1;1;N;D;abc;",
     "<ZOST_OUT>" +
         polozka({{"KOD", "K1"},
                  {"CENA", "1.5"},
                  {"POCET", "2"},
                  {"NAZOV", "Name"},
                  {"DATUM", "01.02.2024"},
                  {"PORADIE", "7"},
                  {"TYP", "T"},
                  {"ICO", "ICO1"},
                  {"DOKLAD", "DOK1"}}) +
         polozka({{"KOD", "K2"},
                  {"CENA", "1"},
                  {"POCET", "1"},
                  {"NAZOV", "N"},
                  {"DATUM", "D"},
                  {"PORADIE", "-3"},
                  {"TYP", ""},
                  {"ICO", ""},
                  {"DOKLAD", ""}}) +
         polozka({{"KOD", "K3"},
                  {"CENA", "1"},
                  {"POCET", "1"},
                  {"NAZOV", "N"},
                  {"DATUM", "D"},
                  {"PORADIE", "0"},
                  {"TYP", ""},
                  {"ICO", ""},
                  {"DOKLAD", ""}}) +
         "</ZOST_OUT>"},
    {"EmptyReport", &kXmlReport, "DATA/zost_out.txt", "", "<ZOST_OUT/>"},
    {"NonZero", &kXmlNonZero, "DATA/data_out.txt",
     "A;1;-1;Minus;\n"
     "B;1;0.00;Zero;\n"
     "\n"
     "C;2;;Empty;\n"
     "D;2;x;Text;\n"
     "E;3;5;\n"
     "F;2.5;0.5;Half;",
     "<DATA_OUTN>" + mainItem("A", "1", "-1", "Minus") + mainItem("F", "2.5", "0.5", "Half") + "</DATA_OUTN>"},
    {"NonZeroAllZero", &kXmlNonZero, "DATA/data_out.txt", "A;1;0;X;\nB;2;0.000;Y;\n", "<DATA_OUTN/>"},
    {"EmptyNonZero", &kXmlNonZero, "DATA/data_out.txt", "", "<DATA_OUTN/>"},
};

class XmlLayout : public testing::TerminalFixture, public ::testing::WithParamInterface<LayoutCase> {};

// Also under a decimal-comma process locale: the bytes must not change.
TEST_P(XmlLayout, WritesTheElementsOfEachLine) {
  const LayoutCase& c = GetParam();
  testing::writeFile(card / c.terminalFile, c.input);
  const fs::path output = outFolder / std::string(c.layout->outputName);

  writeXmlStore(ctx, *c.layout, '.');
  EXPECT_EQ(testing::readFile(output), c.expected);
  EXPECT_TRUE(ui.messages.empty());

  testing::DecimalCommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no decimal-comma locale on this system";
  fs::remove(output);
  writeXmlStore(ctx, *c.layout, '.');
  EXPECT_EQ(testing::readFile(output), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, XmlLayout, ::testing::ValuesIn(kLayoutCases),
                         [](const auto& p) { return std::string(p.param.name); });

// The same file as a DOM saved by pugixml (no declaration, raw), built the classic way: a POLOZKA per
// line read, the children appended empty and given their texts.
class XmlDomEquality : public testing::TerminalFixture {};

TEST_F(XmlDomEquality, StreamedBytesEqualTheSavedDocument) {
  using Texts = std::vector<std::string>;  // empty: a short line
  struct {
    const XmlStoreLayout* layout;
    const char* terminalFile;
    std::string input;
    std::vector<Texts> items;
  } const cases[] = {
      {&kXmlReport,
       "DATA/zost_out.txt",
       "K1;1.5;2;Na & me;01.02.2024;7.9;T;DOK1;ICO1;\n"
       "x\n"
       "K<2>;0.1;;N;D;-3.9;;;;\n"
       "K3;1;1",
       {{"K1", "1.5", "2", "Na & me", "01.02.2024", "7", "T", "ICO1", "DOK1"},
        {},
        {"K<2>", "0.1", "0", "N", "D", "-3", "", "", ""},
        {"K3", "1", "", "", "", "", "", "", ""}}},
      {&kXmlMainStore, "DATA/data_out.txt", "\n\nA>B;1e-7;1e20;  lead;\n", {{}, {}, {"A>B", "1E-7", "1E20", "  lead"}}},
  };
  for (const auto& c : cases) {
    testing::writeFile(card / c.terminalFile, c.input);
    writeXmlStore(ctx, *c.layout, '.');

    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child(std::string(c.layout->root).c_str());
    for (const Texts& item : c.items) {
      pugi::xml_node polozka = root.append_child("POLOZKA");
      for (std::size_t i = 0; i < item.size(); ++i) {
        pugi::xml_node child = polozka.append_child(std::string(c.layout->children[i].element).c_str());
        if (!item[i].empty()) child.text().set(item[i].c_str());
      }
    }
    std::ostringstream saved;
    doc.save(saved, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    EXPECT_EQ(testing::readFile(outFolder / std::string(c.layout->outputName)), saved.str()) << c.layout->root;
  }
}

TEST(XmlOutputPath, IsTheFolderOfThePathSettingAndTheFileName) {
  struct {
    const char* pathXmlOut;
    const char* expected;
  } const cases[] = {
      {"/home/user/out/any.txt", "/home/user/out/DATA_OUT.XML"},
      {"/home/user/out/", "/home/user/out/DATA_OUT.XML"},
      {"/any.txt", "/DATA_OUT.XML"},
      // No folder part: the program's folder, not the root.
      {"any.txt", "/home/u/nodra/DATA_OUT.XML"},
      {"", "/home/u/nodra/DATA_OUT.XML"},
      {"/home/user/Výstup/x.txt", "/home/user/Výstup/DATA_OUT.XML"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(xmlOutputPath(c.pathXmlOut, "/home/u/nodra/", "DATA_OUT.XML"), c.expected) << c.pathXmlOut;
}

class XmlWriterRun : public testing::TerminalFixture {};

TEST_F(XmlWriterRun, CountsRecordLinesFromTheRunningCounterAndEndsAtZero) {
  testing::writeFile(card / "DATA/data_out.txt", "A;1;1;X;\n\nB;2;2;Y;\nshrt\n");
  ctx.runningItemCounter = 5;
  writeXmlStore(ctx, kXmlMainStore, '.');
  EXPECT_EQ(ui.progressCalls, (std::vector<std::pair<unsigned, unsigned>>{{6, 6}, {7, 7}}));
  EXPECT_EQ(ctx.runningItemCounter, 0u);
  EXPECT_EQ(ui.driveText, "X:");
}

// DATA_OUTN.XML shows the items written so far in the status panel, the running count elsewhere.
TEST_F(XmlWriterRun, NonZeroShowsItemsWrittenSoFar) {
  testing::writeFile(card / "DATA/data_out.txt", "A;1;1;X;\nB;1;0;Y;\n\nC;1;1;Z;\nD;1;1;W;\n");
  writeXmlStore(ctx, kXmlNonZero, '.');
  EXPECT_EQ(ui.progressCalls, (std::vector<std::pair<unsigned, unsigned>>{{0, 1}, {1, 2}, {1, 3}, {2, 4}}));
  EXPECT_EQ(ctx.runningItemCounter, 0u);
}

TEST_F(XmlWriterRun, ASecondRunReplacesTheFirst) {
  testing::writeFile(card / "DATA/data_out.txt", "A;1;1;X;\nB;2;2;Y;\n");
  writeXmlStore(ctx, kXmlMainStore, '.');
  testing::writeFile(card / "DATA/data_out.txt", "C;3;3;Z;\n");
  writeXmlStore(ctx, kXmlMainStore, '.');
  EXPECT_EQ(testing::readFile(outFolder / "DATA_OUT.XML"), "<DATA_OUT>" + mainItem("C", "3", "3", "Z") + "</DATA_OUT>");
}

TEST_F(XmlWriterRun, WithoutTerminalNothingIsWritten) {
  testing::writeFile(card / "DATA/data_out.txt", "A;1;1;X;\n");
  removeTerminal();
  writeXmlStore(ctx, kXmlMainStore, '.');
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].outcome, Outcome::NoTerminal);
  EXPECT_FALSE(fs::exists(outFolder / "DATA_OUT.XML"));
}

TEST_F(XmlWriterRun, AMissingStoreFileLeavesTheOutputUntouched) {
  testing::writeFile(outFolder / "ZOST_OUT.XML", "<ZOST_OUT>earlier</ZOST_OUT>");
  ctx.runningItemCounter = 3;
  writeXmlStore(ctx, kXmlReport, '.');
  ASSERT_EQ(ui.messages.size(), 1u);
  const Message& m = ui.messages[0];
  EXPECT_EQ(m.text,
            "Subor " + card.string() + "/DATA/zost_out.txt sa nepodarilo otvorit (súbor alebo priečinok neexistuje)");
  EXPECT_EQ(m.caption, "Chyba pri prenose údajov.");
  EXPECT_EQ(m.icon, Icon::Warning);
  EXPECT_EQ(m.buttons, Buttons::Ok);
  EXPECT_TRUE(m.ownedByWindow);
  EXPECT_TRUE(m.onTop);
  EXPECT_EQ(m.outcome, Outcome::Failure);
  EXPECT_EQ(testing::readFile(outFolder / "ZOST_OUT.XML"), "<ZOST_OUT>earlier</ZOST_OUT>");
  EXPECT_EQ(ctx.runningItemCounter, 0u);
}

// The terminal makes its receipts-and-issues store only when it is used: none is an empty store, not a failure.
TEST_F(XmlWriterRun, AMissingVpStoreIsAnEmptyOne) {
  testing::writeFile(outFolder / "VP_OUT.XML", "<VP_OUT>yesterday</VP_OUT>");
  writeXmlStore(ctx, kXmlVpStore, '.');
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.worstOutcome(), Outcome::Info);
  EXPECT_EQ(testing::readFile(outFolder / "VP_OUT.XML"), "<VP_OUT/>");
}

// Each writer reports the missing folder itself and returns, so the command's next writer still runs.
TEST_F(XmlWriterRun, AMissingOutputFolderGivesTheAbortDialog) {
  testing::writeFile(card / "DATA/data_out.txt", "A;1;1;X;\n");
  testing::writeFile(card / "DATA/zost_out.txt", "A;1;1;X;\n");
  settings.path_xmlOut = (temp.path() / "missing" / "any.txt").string();
  writeXmlStore(ctx, kXmlMainStore, '.');
  writeXmlStore(ctx, kXmlReport, '.');
  ASSERT_EQ(ui.messages.size(), 2u);
  const Message& m = ui.messages[0];
  EXPECT_EQ(m.text, "Subor " + (temp.path() / "missing").string() +
                        "/DATA_OUT.XML sa nepodarilo otvorit (súbor alebo priečinok neexistuje)");
  EXPECT_EQ(m.icon, Icon::Error);
  EXPECT_EQ(m.buttons, Buttons::Abort);
  EXPECT_EQ(m.outcome, Outcome::Failure);
  EXPECT_EQ(ui.messages[1].text, "Subor " + (temp.path() / "missing").string() +
                                     "/ZOST_OUT.XML sa nepodarilo otvorit (súbor alebo priečinok neexistuje)");
  EXPECT_EQ(ctx.runningItemCounter, 0u);
}

TEST_F(XmlWriterRun, AnOverlongStorePathIsRefusedNotCut) {
  const fs::path deepCard = temp.path() / std::string(140, 'c');
  testing::writeFile(deepCard / "CONFIG" / "NODRA3000.ini", "[NODRA3000]\r\n");
  testing::writeFile(deepCard / "DATA" / "data_out.txt", "A;1;1;X;\n");
  volumes = testing::oneDrive(deepCard);
  writeXmlStore(ctx, kXmlMainStore, '.');
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "Cesta k súboru je dlhšia ako 150 znakov:\r\n" + deepCard.string() + "/DATA/data_out.txt");
  EXPECT_EQ(ui.messages[0].outcome, Outcome::Failure);
  EXPECT_FALSE(fs::exists(outFolder / "DATA_OUT.XML"));
}

TEST_F(XmlWriterRun, AFailedWriteThrowsWithTheFileNamedAndKeepsTheEarlierFile) {
  std::string store;
  for (int i = 0; i < 5000; ++i) store += "CODE" + std::to_string(i) + ";1.25;2;Some goods name;\n";
  testing::writeFile(card / "DATA/data_out.txt", store);
  testing::writeFile(outFolder / "DATA_OUT.XML", "<DATA_OUT/>");
  try {
    testing::FileSizeLimit full(100000);
    writeXmlStore(ctx, kXmlMainStore, '.');
    FAIL() << "no failure reported";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "Súbor " + outFolder.string() +
                                         "/DATA_OUT.XML sa nepodarilo zapísať (súbor je príliš veľký)\r\n"
                                         "Predchádzajúci súbor zostal nezmenený.");
  }
  EXPECT_EQ(ctx.runningItemCounter, 0u);
  EXPECT_EQ(testing::readFile(outFolder / "DATA_OUT.XML"), "<DATA_OUT/>");
  EXPECT_EQ(testing::namesIn(outFolder), std::set<std::string>{"DATA_OUT.XML"});
}

// A number beyond the float range: a warning naming the record's code, the element left without text.
TEST_F(XmlWriterRun, OutOfRangeNumbersWarnAndLeaveTheElementEmpty) {
  struct {
    const XmlStoreLayout* layout;
    const char* terminalFile;
    const char* input;
    std::vector<std::string> codes;  // named by the warnings, in order
    std::string expected;
  } const cases[] = {
      {&kXmlMainStore,
       "DATA/data_out.txt",
       "4711;1e39;2;X;\n",
       {"4711"},
       "<DATA_OUT>" + mainItem("4711", "", "2", "X") + "</DATA_OUT>"},
      {&kXmlVpStore,
       "DATA/vp_out.txt",
       "D;K9;N;1e39;T;I;-1e40;F;\n",
       {"K9", "K9"},
       "<VP_OUT>" +
           polozka({{"DOKLAD", "D"},
                    {"KOD", "K9"},
                    {"NAZOV", "N"},
                    {"POCET", ""},
                    {"TYP", "T"},
                    {"ICO", "I"},
                    {"CENA", ""},
                    {"FIRMA", "F"}}) +
           "</VP_OUT>"},
      {&kXmlReport,
       "DATA/zost_out.txt",
       "K;1;1;N;D;3e9;T;DOK;ICO;\n",
       {"K"},
       "<ZOST_OUT>" +
           polozka({{"KOD", "K"},
                    {"CENA", "1"},
                    {"POCET", "1"},
                    {"NAZOV", "N"},
                    {"DATUM", "D"},
                    {"PORADIE", ""},
                    {"TYP", "T"},
                    {"ICO", "ICO"},
                    {"DOKLAD", "DOK"}}) +
           "</ZOST_OUT>"},
      // The failed quantity counts as zero; a failed price leaves its element empty as in DATA_OUT.XML.
      {&kXmlNonZero,
       "DATA/data_out.txt",
       "A;1;1e39;X;\nB;1e39;2;Y;\n",
       {"A", "B"},
       "<DATA_OUTN>" + mainItem("B", "", "2", "Y") + "</DATA_OUTN>"},
  };
  for (const auto& c : cases) {
    ui.messages.clear();
    testing::writeFile(card / c.terminalFile, c.input);
    writeXmlStore(ctx, *c.layout, '.');
    EXPECT_EQ(testing::readFile(outFolder / std::string(c.layout->outputName)), c.expected);
    ASSERT_EQ(ui.messages.size(), c.codes.size()) << c.input;
    for (std::size_t i = 0; i < c.codes.size(); ++i) {
      const Message& m = ui.messages[i];
      EXPECT_EQ(m.text,
                "Nekorektny zaznam na polozke s kodom " + c.codes[i] + "\nkarta bude ulozene s nulovou hodnotou");
      EXPECT_EQ(m.icon, Icon::Warning);
      EXPECT_EQ(m.buttons, Buttons::Ok);
      EXPECT_EQ(m.outcome, Outcome::Failure);
    }
  }
}

// The four entry points: their files, and numbers with the user's decimal separator.
TEST_F(XmlWriterRun, EntryPointsWriteTheirFilesWithTheUsersSeparator) {
  {
    testing::DecimalCommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no decimal-comma locale on this system";
  }
  testing::EnvironmentVariable env("LC_ALL", "sk_SK.UTF-8");
  testing::writeFile(card / "DATA/data_out.txt", "A;12.30;0.5;X;\n");
  testing::writeFile(card / "DATA/vp_out.txt", "D;A;X;0.5;T;I;12.30;F;\n");
  testing::writeFile(card / "DATA/zost_out.txt", "A;12.30;0.5;X;D;1;T;DOK;ICO;\n");
  WriteXmlMainStore(ctx);
  WriteXmlVpStore(ctx);
  WriteXmlReport(ctx);
  WriteXmlNonZero(ctx);
  EXPECT_TRUE(ui.messages.empty());
  const std::string item = mainItem("A", "12,3", "0,5", "X");
  EXPECT_EQ(testing::readFile(outFolder / "DATA_OUT.XML"), "<DATA_OUT>" + item + "</DATA_OUT>");
  EXPECT_EQ(testing::readFile(outFolder / "DATA_OUTN.XML"), "<DATA_OUTN>" + item + "</DATA_OUTN>");
  EXPECT_EQ(testing::readFile(outFolder / "VP_OUT.XML"), "<VP_OUT>" +
                                                             polozka({{"DOKLAD", "D"},
                                                                      {"KOD", "A"},
                                                                      {"NAZOV", "X"},
                                                                      {"POCET", "0,5"},
                                                                      {"TYP", "T"},
                                                                      {"ICO", "I"},
                                                                      {"CENA", "12,3"},
                                                                      {"FIRMA", "F"}}) +
                                                             "</VP_OUT>");
  EXPECT_EQ(testing::readFile(outFolder / "ZOST_OUT.XML"), "<ZOST_OUT>" +
                                                               polozka({{"KOD", "A"},
                                                                        {"CENA", "12,3"},
                                                                        {"POCET", "0,5"},
                                                                        {"NAZOV", "X"},
                                                                        {"DATUM", "D"},
                                                                        {"PORADIE", "1"},
                                                                        {"TYP", "T"},
                                                                        {"ICO", "ICO"},
                                                                        {"DOKLAD", "DOK"}}) +
                                                               "</ZOST_OUT>");
}

}  // namespace
}  // namespace nodra
