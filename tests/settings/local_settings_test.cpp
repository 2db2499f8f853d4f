#include "settings/local_settings.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace nodra {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

struct LocalSettingsFile : ::testing::Test {
  TempFolder dir;
  std::filesystem::path path = dir / "nodra3000.ini";
  ProfileFile file{path, "nodra3000.ini"};
  const std::string home = "/opt/nodra/";
};

TEST_F(LocalSettingsFile, MissingFileGivesTheDefaults) {
  LocalSettings s = readLocalSettings(file, home);
  EXPECT_EQ(s.path_ins, "/opt/nodra/data_in.txt");
  EXPECT_EQ(s.path_outv, "/opt/nodra/data_outv.txt");
  EXPECT_EQ(s.path_outn, "/opt/nodra/data_outn.txt");
  EXPECT_EQ(s.path_zostava, "/opt/nodra/zostavy.txt");
  EXPECT_EQ(s.path_suroveData, "/opt/nodra/vsetkySklady");
  EXPECT_EQ(s.path_xmlOut, "/opt/nodra/vsetkySklady");
  EXPECT_TRUE(s.Odd_ISK);
  EXPECT_TRUE(s.Odd_OSK);
  EXPECT_EQ(s.Odd_Char_ISK, ';');
  EXPECT_EQ(s.formatovatData, kFormatted);
  EXPECT_EQ(s.PDM1_OSK, 2);
  EXPECT_EQ(s.PDM2_OSK, 2);
  EXPECT_EQ(s.dlzka4_OSK, 39);
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(LocalSettingsFile, FirstSaveWritesEveryKeyInOrder) {
  writeLocalSettings(file, LocalSettings::defaults(home));
  const std::string expected =
      "[GLOBAL]\r\nuse_tbl=0\r\nhlaska_data_in=0\r\nformatovatData=1\r\n"
      "[PATHS]\r\npath_ins=/opt/nodra/data_in.txt\r\npath_ino=\r\npath_outv=/opt/nodra/data_outv.txt\r\n"
      "path_outn=/opt/nodra/data_outn.txt\r\npath_zostava=/opt/nodra/zostavy.txt\r\n"
      "path_suroveData=/opt/nodra/vsetkySklady\r\npath_xmlOut=/opt/nodra/vsetkySklady\r\n"
      "[InFormat Casio]\r\nCASIO1_ISK=0\r\n[OutFormat Casio]\r\nCASIO1_OSK=0\r\n"
      "[InFormat Oddelovac]\r\nOdd_ISK=1\r\nOdd1_ISK=0\r\nOdd2_ISK=1\r\nOdd3_ISK=2\r\nOdd4_ISK=3\r\nOdd_Char_ISK=59\r\n"
      "[OutFormat "
      "Oddelovac]\r\nOdd_OSK=1\r\nOdd1_OSK=0\r\nOdd2_OSK=1\r\nOdd3_OSK=2\r\nOdd4_OSK=3\r\nOdd_Char_OSK=59\r\n"
      "[InFormat Pevna_dlzka]\r\nPevna_dl_ISK=0\r\nKOD_zac=0\r\nKOD_dlzka=16\r\nPOC_zac=17\r\nPOC_dlzka=8\r\n"
      "NAZ_zac=34\r\nCEN_dlzka=8\r\nCEN_zac=25\r\nNAZ_dlzka=39\r\n"
      "[OutFormat Pevna_dlzka]\r\nPevna_dl_OSK=0\r\ndlzka1_OSK=15\r\ndlzka2_OSK=8\r\ndlzka3_OSK=8\r\ndlzka4_OSK=39\r\n"
      "[InFormat Old]\r\nOld_ISK=0\r\n[OutFormat Old]\r\nOld_OSK=0\r\n[Format]\r\nPDM1_OSK=2\r\nPDM2_OSK=2\r\n";
  EXPECT_EQ(readFile(path), expected);
}

TEST_F(LocalSettingsFile, SaveKeepsWhatItDoesNotKnowAndReadsBackWhatItWrote) {
  writeFile(path,
            "; nastavenie pokladne\n[Format]\nWriteCisloDokladu=1\nPDM1_OSK=3\n[Pokladna]\nID=7\n[PATHS]\n"
            "path_outv=C:/Users/Jana/Výstup/sklad.txt\n");
  LocalSettings s = readLocalSettings(file, home);
  EXPECT_TRUE(s.WriteCisloDokladu);
  EXPECT_EQ(s.PDM1_OSK, 3);
  EXPECT_EQ(s.path_outv, "C:/Users/Jana/Výstup/sklad.txt");
  s.Odd_Char_OSK = static_cast<signed char>(0xC8);  // Č
  s.Odd_Char_ISK = '|';
  writeLocalSettings(file, s);
  writeLocalSettings(file, s);
  const std::string after = readFile(path);
  EXPECT_EQ(after.rfind("; nastavenie pokladne\n[Format]\nWriteCisloDokladu=1\nPDM1_OSK=3\n", 0), 0u);
  EXPECT_NE(after.find("[Pokladna]\nID=7\n"), std::string::npos);
  EXPECT_NE(after.find("Odd_Char_OSK=-56\r\n"), std::string::npos);
  EXPECT_NE(after.find("Odd_Char_ISK=124\r\n"), std::string::npos);
  LocalSettings back = readLocalSettings(file, home);
  EXPECT_TRUE(back.WriteCisloDokladu);
  EXPECT_EQ(back.Odd_Char_OSK, static_cast<signed char>(0xC8));
  EXPECT_EQ(back.Odd_Char_ISK, '|');
  EXPECT_EQ(back.path_outv, s.path_outv);
}

TEST_F(LocalSettingsFile, BadNumbersGiveDefaultsAndSeparatorKeepsItsLowByte) {
  writeFile(path,
            "[Format]\nPDM1_OSK=dva\nPDM2_OSK=\n[OutFormat Pevna_dlzka]\ndlzka1_OSK=0x10\n"
            "[InFormat Oddelovac]\nOdd_Char_ISK=300\n[GLOBAL]\nformatovatData=7\n");
  LocalSettings s = readLocalSettings(file, home);
  EXPECT_EQ(s.PDM1_OSK, 2);
  EXPECT_EQ(s.PDM2_OSK, 2);
  EXPECT_EQ(s.dlzka1_OSK, 16);
  EXPECT_EQ(s.Odd_Char_ISK, static_cast<signed char>(300 & 0xFF));
  EXPECT_EQ(s.formatovatData, 7);
}

TEST_F(LocalSettingsFile, UnwritableFileStopsTheSaveWithTheServiceError) {
  writeFile(path, "[GLOBAL]\r\nuse_tbl=1\r\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  try {
    writeLocalSettings(file, LocalSettings::defaults(home));
    FAIL() << "a read-only settings file was written";
  } catch (const WriteError& e) {
    EXPECT_STREQ(e.what(), "Unable to write to nodra3000.ini\r\n\r\nDôvod: prístup odmietnutý.");
  }
  EXPECT_EQ(readFile(path), "[GLOBAL]\r\nuse_tbl=1\r\n");
}

}  // namespace
}  // namespace nodra
