#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "readout/read_out_commands.h"
#include "readout_fixture.h"
#include "store/second_pass_carry.h"

namespace nodra {
namespace {

using testing::readFile;
using testing::writeFile;

// A price and a quantity beyond the float range, an item of quantity 0, a line too short to be a record.
const std::string kStore =
    "4711;12;3;Mlieko;\r\n4712;1e39;2;Chlieb;\r\n4713;1;0;Syr;\r\nab\r\n4714;2;1e40;Maslo;\r\n4715;7;-1;Jogurt;\r\n";

struct Seen {
  std::vector<std::string> files;
  std::vector<std::pair<unsigned, unsigned>> progress;
  std::vector<std::string> boxes;
  std::vector<std::string> statuses;
};

class SecondPass : public testing::ReadOutTest, public ::testing::WithParamInterface<int> {
 protected:
  // A full read-out; `beforeSecondPass` runs just before the main store is read the second time.
  Seen readOut(const std::function<void()>& beforeSecondPass, const std::string& store = kStore) {
    writeMainStore(store);
    writeReport("4711;12.5;1;Mlieko;07.01.2013;1;P;D1;123;\r\n");
    writeFile(card("DATA/VP_OUT.TXT"), "D1;4711;Mlieko;2;P;123;12.5;Firma;\r\n");
    settings.formatovatData = GetParam();
    ReadOutContext& ctx = context();
    unsigned calls = 0;
    // Formatted: the terminal settings are read before each of the three passes. XML: each of the four files
    // detects the terminal anew, after the command's own detection.
    auto step = [&, this] {
      const unsigned second = GetParam() == kXml ? 5u : 3u;
      ++calls;
      // The pass just before the second one: the first pass's non-zero file is pending.
      if (calls == second - 1) carriedPastTheFirstPass = ctx.carry != nullptr;
      if (calls == second && beforeSecondPass) beforeSecondPass();
    };
    if (GetParam() == kXml) {
      ctx.session.detected = [&](const auto&) { step(); };
    } else {
      ctx.readTerminalSettings = step;
    }
    readOutAll(ctx);
    Seen run;
    const std::vector<std::string> names = GetParam() == kXml
                                               ? std::vector<std::string>{"DATA_OUT.XML", "DATA_OUTN.XML"}
                                               : std::vector<std::string>{"data_outv.txt", "data_outn.txt"};
    for (const std::string& name : names) run.files.push_back(readFile(program(name)));
    run.progress = ui.progressCalls;
    run.boxes = ui.boxTexts();
    run.statuses = ui.statuses;
    return run;
  }
  bool carriedPastTheFirstPass = false;
};

std::string nonZeroFile(int mode) {
  return mode == kXml
             ? "<DATA_OUTN><POLOZKA><KOD>4711</KOD><CENA>12</CENA><POCET>3</POCET><NAZOV>Mlieko"
               "</NAZOV></POLOZKA><POLOZKA><KOD>4712</KOD><CENA/><POCET>2</POCET><NAZOV>Chlieb</NAZOV></POLOZKA>"
               "<POLOZKA><KOD>4715</KOD><CENA>7</CENA><POCET>-1</POCET><NAZOV>"
               "Jogurt</NAZOV></POLOZKA></DATA_OUTN>"
             : "4711;12.00;3.00;Mlieko\r\n4712;0.00;2.00;Chlieb\r\n4715;7.00;-1.00;Jogurt\r\n";
}

// The reference: the same bytes plus a line that is no record make the second pass convert on its own, with
// the same result. The unchanged store must give exactly what that conversion shows and writes.
TEST_P(SecondPass, OverTheSameBytesShowsAndWritesWhatAConversionDoes) {
  const Seen reused = readOut(nullptr);
  EXPECT_TRUE(carriedPastTheFirstPass);
  EXPECT_EQ(reused.files[1], nonZeroFile(GetParam()));
  EXPECT_EQ(reused.boxes.size(), 4u);  // each pass warns twice

  ui = testing::RecordingUi();
  const Seen converted = readOut([this] { writeMainStore(kStore + "\r\n"); });
  EXPECT_EQ(reused.files, converted.files);
  EXPECT_EQ(reused.progress, converted.progress);
  EXPECT_EQ(reused.boxes, converted.boxes);
  EXPECT_EQ(reused.statuses, converted.statuses);
}

TEST_P(SecondPass, OverAChangedStoreConvertsWhatItReads) {
  const Seen run = readOut([this] { writeMainStore("4711;12.5;0;Mlieko;\r\n4716;3;4;Kefir;\r\n"); });
  EXPECT_NE(run.files[0].find("Jogurt"), std::string::npos);
  const std::string expected = GetParam() == kXml ? "<DATA_OUTN><POLOZKA><KOD>4716</KOD><CENA>3</CENA><POCET>4"
                                                    "</POCET><NAZOV>Kefir</NAZOV></POLOZKA></DATA_OUTN>"
                                                  : "4716;3.00;4.00;Kefir\r\n";
  EXPECT_EQ(run.files[1], expected);
  EXPECT_EQ(run.boxes.size(), 2u);  // the changed store has no bad number
}

TEST_P(SecondPass, AStoreGoneBeforeTheSecondPassIsReportedAndKeepsTheOldFile) {
  writeFile(program(GetParam() == kXml ? "DATA_OUTN.XML" : "data_outn.txt"), "yesterday");
  const Seen run = readOut([this] { std::filesystem::remove(card("DATA/DATA_OUT.TXT")); });
  EXPECT_EQ(run.files[1], "yesterday");
  EXPECT_EQ(ui.lastStatus(), "Chyba: vyčítaj.");
  for (const auto& entry : std::filesystem::directory_iterator(program())) {
    EXPECT_EQ(entry.path().filename().string().find("~ND"), std::string::npos) << entry.path();
  }
}

// Files of many buffers, with texts to escape and accents kept (UTF-8 in the XML, up to three bytes a character):
// the carried items are the converted ones whatever a buffer's end cuts.
TEST_P(SecondPass, ALongStoreIsCarriedAsItIsConverted) {
  settings.Diakritika = 1;
  const std::string names[] = {
      "Syr \xe8"
      "erstv\xfd",
      "Ry\x9e"
      "a & <biela> ",
      std::string(99, '\x84')};
  std::string store;
  for (int i = 0; i < 6000; ++i) {
    std::string name = names[i % 3];
    if (i % 3 == 1) name += std::string(static_cast<std::size_t>(i % 80), 'x');
    store += std::to_string(100000 + i) + ";" + std::to_string(i % 97) + ".5;" + std::to_string(i % 4) + ";" + name +
             ";\r\n";
  }
  const Seen reused = readOut(nullptr, store);
  EXPECT_TRUE(carriedPastTheFirstPass);
  ASSERT_GT(reused.files[1].size(), std::size_t{2} << 16);
  ui = testing::RecordingUi();
  const Seen converted = readOut([this, &store] { writeMainStore(store + "\r\n"); }, store);
  EXPECT_EQ(reused.files, converted.files);
  EXPECT_EQ(reused.progress, converted.progress);
}

// Past the warnings it keeps, the first pass stops carrying; the second converts on its own, with the same result.
TEST_P(SecondPass, ManyWarningsEndTheCarryButNotTheResult) {
  std::string store;
  std::string nonZero;
  const std::size_t items = SecondPassCarry::kWarningLimit + 10;
  for (std::size_t i = 0; i < items; ++i) {
    const std::string code = std::to_string(100000 + i);
    store += code + ";1e39;" + (i % 2 == 0 ? "1" : "0") + ";Tovar;\r\n";
    if (i % 2 == 0) nonZero += code + ";0.00;1.00;Tovar\r\n";
  }
  const Seen seen = readOut(nullptr, store);
  EXPECT_FALSE(carriedPastTheFirstPass);
  EXPECT_EQ(seen.boxes.size(), 2 * items);
  if (GetParam() == kFormatted) {
    EXPECT_EQ(seen.files[1], nonZero);
  }
  EXPECT_EQ(ui.lastStatus(), "Dáta vyčítané");
}

INSTANTIATE_TEST_SUITE_P(Modes, SecondPass, ::testing::Values(kFormatted, kXml),
                         [](const auto& p) { return p.param == kXml ? "Xml" : "Formatted"; });

}  // namespace
}  // namespace nodra
