#include "terminal/terminal_settings.h"

#include <gtest/gtest.h>

#include "platform/integer_text.h"
#include "support/fresh_profile_file.h"
#include "support/temp_folder.h"

namespace nodra {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

struct TerminalSettingsFile : ::testing::Test {
  TempFolder dir;
  std::filesystem::path path = dir / "CONFIG" / "NODRA3000.ini";
  testing::FreshProfileFile file{path, "CONFIG/NODRA3000.ini", false};

  static TerminalSettingsControls pageAsRead(const TerminalSettings& s) {
    TerminalSettingsControls c;
    c.weighedCodeTicked = s.K2829;
    c.kodvahaZac = std::to_string(s.VAHOVYKOD_ZAC);
    c.kodvahaEnd = std::to_string(s.VAHOVYKOD_END);
    c.vahaZac = std::to_string(s.VAHA_ZAC);
    c.vahaEnd = std::to_string(s.VAHA_END);
    c.pdmVaha = std::to_string(s.PDM_VAHA);
    c.id1 = s.K_1;
    c.id2 = s.K_2;
    c.id3 = s.K_3;
    return c;
  }
};

TEST_F(TerminalSettingsFile, FileWithoutKeysGivesTheTerminalDefaults) {
  writeFile(path, "[GLOBAL]\r\n");
  TerminalSettings s = readTerminalSettings(file);
  EXPECT_EQ(s.PDM_PRICE, 2);
  EXPECT_EQ(s.PDM_COUNT, 2);
  EXPECT_EQ(s.AUTO, "0.00");
  EXPECT_EQ(s.SIGN, 1);
  EXPECT_TRUE(s.SHOW_SUM);
  EXPECT_TRUE(s.CHANGE_PRICE);
  EXPECT_TRUE(s.LIGHT);
  EXPECT_FALSE(s.KARTON);
  EXPECT_FALSE(s.K2829);
  EXPECT_EQ(s.K_1, "28");
  EXPECT_EQ(s.K_2, "29");
  EXPECT_EQ(s.K_3, "");
  EXPECT_EQ(s.VAHOVYKOD_ZAC, 2);
  EXPECT_EQ(s.VAHOVYKOD_END, 5);
  EXPECT_EQ(s.VAHA_ZAC, 7);
  EXPECT_EQ(s.VAHA_END, 11);
  EXPECT_EQ(s.PDM_VAHA, 4);
  EXPECT_EQ(s.ZALOHA, 1);
  EXPECT_EQ(s.ZOBRAZ_KOD_TOVARU, 1);
  EXPECT_EQ(s.SKLAD, 0);
  EXPECT_EQ(s.VERSION, "");
}

TEST_F(TerminalSettingsFile, TextsLongerThanTheirMembersAreCut) {
  writeFile(path, "[GLOBAL]\r\nVERSION=1.2345\r\nAUTO=123456789012345\r\nK_1=2829\r\nK_3=7\r\nSIGN=300\r\n");
  TerminalSettings s = readTerminalSettings(file);
  EXPECT_EQ(s.VERSION, "1.234");
  EXPECT_EQ(s.AUTO, "1234567890");
  EXPECT_EQ(s.K_1, "28");
  EXPECT_EQ(s.K_3, "7");
  EXPECT_EQ(s.SIGN, static_cast<signed char>(300));
}

TEST_F(TerminalSettingsFile, WriteKeepsForeignKeysAndAddsMissingOnesInTheTerminalsOrder) {
  writeFile(path, "[GLOBAL]\r\nPDM_PRICE=3\r\nBEEP=1\r\nVAHOVYKOD_ZAC=1\r\n[SERVIS]\r\nSERIAL=X1\r\n");
  TerminalSettings s = readTerminalSettings(file);
  s.SIGN = 0;
  writeTerminalSettings(file, s, pageAsRead(s), {1, 1, 1});
  EXPECT_EQ(readFile(path),
            "[GLOBAL]\r\nPDM_PRICE=3\r\nBEEP=1\r\nVAHOVYKOD_ZAC=1\r\nPDM_COUNT=2\r\nSIGN=0\r\nKARTON=0\r\nK2829=0\r\n"
            "LIGHT=1\r\nSHOW_SUM=1\r\nCHANGE_PRICE=1\r\nVAHOVY=0\r\nAUTO=0.00\r\nCLEAR_SKLAD=1\r\nCLEAR_ZOST=1\r\n"
            "CLEAR_SKLADVP=1\r\nK_1=28\r\nK_2=29\r\nK_3=\r\nZALOHA=1\r\nZOBRAZ_KOD_TOVARU=1\r\n"
            "[SERVIS]\r\nSERIAL=X1\r\n");
}

TEST_F(TerminalSettingsFile, WeighedCodePositionsAreWrittenOnlyWhileTheModeIsOn) {
  writeFile(path, "[GLOBAL]\r\nK2829=1\r\nVAHA_END=12\r\n");
  TerminalSettings s = readTerminalSettings(file);
  auto page = pageAsRead(s);
  page.vahaEnd = "11";
  writeTerminalSettings(file, s, page, {});
  EXPECT_NE(readFile(path).find("VAHA_END=11\r\n"), std::string::npos);
  s.K2829 = false;
  page.weighedCodeTicked = false;
  page.vahaEnd = "12";
  writeTerminalSettings(file, s, page, {});
  const std::string after = readFile(path);
  EXPECT_NE(after.find("VAHA_END=11\r\n"), std::string::npos);
  EXPECT_NE(after.find("K2829=0\r\n"), std::string::npos);
  EXPECT_NE(after.find("VAHOVY=0\r\n"), std::string::npos);
}

TEST_F(TerminalSettingsFile, UnselectedWeighedListStopsTheWriteAtItsKey) {
  writeFile(path, "[GLOBAL]\r\n");
  TerminalSettings s = readTerminalSettings(file);
  s.K2829 = true;
  auto page = pageAsRead(s);
  page.vahaZac = "";
  EXPECT_THROW(writeTerminalSettings(file, s, page, {0, 1, 0}), ConvertError);
  const std::string after = readFile(path);
  EXPECT_NE(after.find("CLEAR_ZOST=1\r\nCLEAR_SKLADVP=0\r\nVAHOVYKOD_ZAC=2\r\nVAHOVYKOD_END=5\r\n"), std::string::npos);
  EXPECT_EQ(after.find("VAHA_ZAC"), std::string::npos);
  EXPECT_EQ(after.find("K_1"), std::string::npos);
}

TEST_F(TerminalSettingsFile, TheTerminalsFileIsNeverCreatedAndAProtectedOneStaysAsItWas) {
  TerminalSettings s = readTerminalSettings(file);
  EXPECT_THROW(writeTerminalSettings(file, s, pageAsRead(s), {}), WriteError);
  EXPECT_FALSE(std::filesystem::exists(path));

  writeFile(path, "[GLOBAL]\r\nPDM_PRICE=1\r\n");
  std::filesystem::permissions(path.parent_path(),
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  try {
    writeTerminalSettings(file, s, pageAsRead(s), {});
    FAIL() << "a write-protected card was written";
  } catch (const WriteError& e) {
    EXPECT_STREQ(e.what(), "Unable to write to CONFIG/NODRA3000.ini\r\n\r\nDôvod: prístup odmietnutý.");
  }
  std::filesystem::permissions(path.parent_path(), std::filesystem::perms::owner_all);
  EXPECT_EQ(readFile(path), "[GLOBAL]\r\nPDM_PRICE=1\r\n");
}

}  // namespace
}  // namespace nodra
