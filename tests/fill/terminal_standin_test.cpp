#include "terminal_standin.h"

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "fill/fill_terminal.h"
#include "fill_test_support.h"
#include "platform/folder_list_source.h"

namespace nodra {
namespace {

namespace fs = std::filesystem;

const std::string kConfig = "[GLOBAL]\r\nPDM_COUNT=3\r\nLIGHT=1\r\nSKLAD=9\r\n";
const std::string kStore = "1;2.00;5.000;Old;\r\n2;3.00;-1.500;Other;\r\n";
const std::string kReport = "1;2.00;1.000;Old;01.02.2024;1;P;D1;123;\r\n";

std::string configValue(const fs::path& card, const char* key) {
  std::string value;
  return profile_text::find(testing::readFile(card / "CONFIG" / "NODRA3000.ini"), "GLOBAL", key, value) ? value : "-";
}

TEST(TerminalStandin, TakesTheFillOverAsTheMainStore) {
  testing::TempFolder card;
  testing::writeFile(card.path() / "CONFIG" / "NODRA3000.ini", kConfig);
  testing::writeFile(card.path() / "DATA" / "DATA_OUT.TXT", kStore);
  testing::writeFile(card.path() / "DATA" / "ZOST_OUT.TXT", kReport);
  testing::writeFile(card.path() / "DATA" / "data_in.txt", "4711;12.50;3.000;Chlieb\r\n\r\n123;1.00;-2.000;a;b\r\n");
  auto r = standin::playTerminal(card.path());
  EXPECT_TRUE(r.tookOver);
  EXPECT_EQ(testing::readFile(card.path() / "DATA" / "DATA_OUT.TXT"),
            "4711;12.50;3.000;Chlieb;\r\n123;1.00;-2.000;a;b;\r\n");
  EXPECT_FALSE(fs::exists(card.path() / "DATA" / "data_in.txt"));
  EXPECT_EQ(testing::readFile(card.path() / "DATA" / "ZOST_OUT.TXT"), kReport);
  EXPECT_EQ(configValue(card.path(), "SKLAD"), "2");
  EXPECT_EQ(configValue(card.path(), "ZOSTAVA"), "1");
  EXPECT_EQ(configValue(card.path(), "LIGHT"), "1");
}

TEST(TerminalStandin, ClearRequests) {
  struct Case {
    const char* flags;
    std::string store;  // "" : deleted
    bool reportKept, vpKept;
    const char* sklad;
    const char* zostava;
  };
  const Case cases[] = {
      {"", kStore, true, true, "2", "1"},
      {"CLEAR_SKLAD=1\r\n", "1;2.00;0.000;Old;\r\n2;3.00;0.000;Other;\r\n", true, true, "2", "1"},
      {"CLEAR_ZOST=1\r\n", kStore, false, true, "2", "0"},
      {"CLEAR_SKLADVP=1\r\n", kStore, true, false, "2", "1"},
      {"CLEAR_SKLAD=1\r\nCLEAR_ZOST=1\r\nCLEAR_SKLADVP=1\r\n", "1;2.00;0.000;Old;\r\n2;3.00;0.000;Other;\r\n", false,
       false, "2", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    testing::TempFolder card;
    testing::writeFile(card.path() / "CONFIG" / "NODRA3000.ini", kConfig + c.flags);
    testing::writeFile(card.path() / "DATA" / "DATA_OUT.TXT", kStore);
    testing::writeFile(card.path() / "DATA" / "ZOST_OUT.TXT", kReport);
    testing::writeFile(card.path() / "DATA" / "VP_OUT.TXT", "D1;1;Old;1;P;123;2.00;Firma;\r\n");
    auto r = standin::playTerminal(card.path());
    EXPECT_FALSE(r.tookOver);
    EXPECT_EQ(testing::readFile(card.path() / "DATA" / "DATA_OUT.TXT"), c.store);
    EXPECT_EQ(fs::exists(card.path() / "DATA" / "ZOST_OUT.TXT"), c.reportKept);
    EXPECT_EQ(fs::exists(card.path() / "DATA" / "VP_OUT.TXT"), c.vpKept);
    EXPECT_EQ(configValue(card.path(), "SKLAD"), c.sklad);
    EXPECT_EQ(configValue(card.path(), "ZOSTAVA"), c.zostava);
    for (const char* flag : {"CLEAR_SKLAD", "CLEAR_ZOST", "CLEAR_SKLADVP"}) {
      std::string value = configValue(card.path(), flag);
      EXPECT_TRUE(value == "-" || value == "0") << flag << "=" << value;
    }
  }
}

TEST(TerminalStandin, RefusesAFolderWithoutTerminalSettings) {
  testing::TempFolder card;
  testing::writeFile(card.path() / "DATA" / "data_in.txt", "1;1.00;1.00;a\r\n");
  EXPECT_THROW(standin::playTerminal(card.path()), std::runtime_error);
  EXPECT_TRUE(fs::exists(card.path() / "DATA" / "data_in.txt"));
}

int run(const std::string& arguments) {
  int status = std::system((std::string(NODRA_TERMINAL_STANDIN) + " " + arguments + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The program fills a card whose names are in lower case; the stand-in takes the list over.
TEST(TerminalStandin, ProgramAfterAFill) {
  testing::TempFolder exe, card;
  testing::writeFile(card.path() / "config" / "nodra3000.ini", kConfig + "CLEAR_ZOST=1\r\n");
  testing::writeFile(card.path() / "data" / "zost_out.txt", kReport);
  testing::writeFile(exe.path() / "vstup.txt", "4711;12,5;3;Chlieb\n123;1;2;Rožok\n");
  testing::RecordingUi ui;
  FolderListSource volumes;  // no drives: the session starts with the card found
  TerminalSession session{ui, volumes, TerminalDrive{card.path(), "X:"}};
  LocalSettings settings = LocalSettings::defaults(exe.text());
  settings.path_ins = exe.text() + "vstup.txt";
  FillContext ctx{session, settings, exe.text(), 2, 3};
  FillTerminal(ctx);
  ASSERT_EQ(ui.worstOutcome(), Outcome::Info);

  EXPECT_EQ(run("'" + card.path().string() + "'"), 0);
  EXPECT_EQ(testing::readFile(card.path() / "data" / "DATA_OUT.TXT"),
            "4711;12.50;3.000;Chlieb;\r\n123;1.00;2.000;Rožok;\r\n");
  EXPECT_FALSE(fs::exists(card.path() / "data" / "data_in.txt"));
  EXPECT_FALSE(fs::exists(card.path() / "data" / "zost_out.txt"));
  std::string value;
  ASSERT_TRUE(
      profile_text::find(testing::readFile(card.path() / "config" / "nodra3000.ini"), "GLOBAL", "SKLAD", value));
  EXPECT_EQ(value, "2");

  EXPECT_EQ(run("'" + exe.path().string() + "'"), 1);  // no terminal there
  EXPECT_EQ(run(""), 2);
}

}  // namespace
}  // namespace nodra
