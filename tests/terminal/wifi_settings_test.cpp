#include "terminal/wifi_settings.h"

#include <gtest/gtest.h>

#include "platform/integer_text.h"
#include "support/decimal_comma_locale.h"
#include "support/fresh_profile_file.h"
#include "support/temp_folder.h"

namespace nodra {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

struct WifiFile : ::testing::Test {
  TempFolder dir;
  std::filesystem::path path = dir / "CONFIG" / "wifi.ini";
  testing::FreshProfileFile file{path, "X:CONFIG\\wifi.ini"};

  void SetUp() override { std::filesystem::create_directories(path.parent_path()); }

  static WifiSettings typed() {
    WifiSettings s;
    s.MaskEdit_ip = "192168001010";
    s.MaskEdit_gateway = "192168001001";
    s.Edit_ssid = "Sklad Žilina";
    s.ChBox_dhcp = true;
    s.RG_preamble = 1;
    s.RG_wifi_sec = 3;
    s.Edit_eap_id = "eap";
    s.Edit_eap_psw = "e p";
    s.Edit_wpa_heslo = "heslo 123";
    s.Edit_wpa_pmk = "abcdef";
    s.Edit_key = {"0123456789", "k1", "", "k3"};
    s.CB_wep_default = 2;
    s.CB_wep_len = 1;
    s.MaskEdit_ftp_ip = "010000000005";
    s.Edit_ftp_port = "2121";
    s.Edit_ftp_meno = "nodra";
    s.Edit_ftp_heslo = "tajné";
    return s;
  }
};

constexpr std::string_view kTypedFile =
    "[WIFI]\r\nIPADDR0=192\r\nIPADDR1=168\r\nIPADDR2=1\r\nIPADDR3=10\r\n"
    "SUBNETMASK0=255\r\nSUBNETMASK1=255\r\nSUBNETMASK2=255\r\nSUBNETMASK3=0\r\n"
    "DEFAULTGATEWAY0=192\r\nDEFAULTGATEWAY1=168\r\nDEFAULTGATEWAY2=1\r\nDEFAULTGATEWAY3=1\r\n"
    "SSID=Sklad Žilina\r\nDHCP=1\r\nWLANFLAG_PREAMBLE=1\r\nWLANFLAG_AUTHEN=4\r\n"
    "EAPID=eap\r\nEAPPASSWORD=e p\r\nWPAPASSPHRASE=heslo 123\r\nWPAPMK=abcdef\r\n"
    "WEPKEY0=0123456789\r\nWEPKEY1=k1\r\nWEPKEY2=\r\nWEPKEY3=k3\r\nDEFAULTKEY=2\r\nWEPLEN=1\r\n"
    "FTP_IP0=10\r\nFTP_IP1=0\r\nFTP_IP2=0\r\nFTP_IP3=5\r\n"
    "[FTP]\r\nFTPPORT=2121\r\nFTPMENO=nodra\r\nFTPHESLO=tajné\r\n";

TEST_F(WifiFile, MissingFileShowsTheDefaults) {
  WifiSettings s = readWifiSettings(file);
  EXPECT_EQ(s.MaskEdit_ip, "000000000000");
  EXPECT_EQ(s.MaskEdit_subnet, "255255255000");
  EXPECT_EQ(s.MaskEdit_gateway, "000000000000");
  EXPECT_EQ(s.MaskEdit_ftp_ip, "000000000000");
  EXPECT_EQ(s.Edit_ssid, "");
  EXPECT_FALSE(s.ChBox_dhcp);
  EXPECT_EQ(s.RG_preamble, 0);
  EXPECT_EQ(s.RG_wifi_sec, 0);
  EXPECT_EQ(s.CB_wep_default, 0);
  EXPECT_EQ(s.CB_wep_len, 0);
  EXPECT_EQ(s.Edit_ftp_port, "21");
  EXPECT_EQ(s.Edit_key[3], "");
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(WifiFile, NewFileHoldsWifiThenFtpWithTheFtpAddressInWifi) {
  writeWifiSettings(file, typed());
  EXPECT_EQ(readFile(path), kTypedFile);
}

TEST_F(WifiFile, ReadBackGivesWhatWasTypedAndRewritesTheSameBytes) {
  writeFile(path, std::string(kTypedFile) + "[WIFI_EXTRA]\r\nCHANNEL=6\r\n");
  const std::string before = readFile(path);
  WifiSettings s = readWifiSettings(file);
  EXPECT_EQ(s.Edit_ssid, "Sklad Žilina");
  EXPECT_EQ(s.MaskEdit_ftp_ip, "010000000005");
  EXPECT_EQ(s.RG_wifi_sec, 3);
  EXPECT_EQ(s.Edit_key[0], "0123456789");
  writeWifiSettings(file, s);
  EXPECT_EQ(readFile(path), before);
}

TEST_F(WifiFile, AuthenticationThreeIsWpaPskAndStaysThree) {
  writeFile(path, "[WIFI]\r\nWLANFLAG_AUTHEN=3\r\n");
  WifiSettings s = readWifiSettings(file);
  EXPECT_EQ(s.RG_wifi_sec, 2);
  writeWifiSettings(file, s);
  EXPECT_NE(readFile(path).find("WLANFLAG_AUTHEN=3\r\n"), std::string::npos);
  EXPECT_EQ(readWifiSettings(file).RG_wifi_sec, 2);
}

TEST_F(WifiFile, BadPortStopsTheWriteAtFtpPort) {
  writeFile(path, kTypedFile);
  WifiSettings s = readWifiSettings(file);
  s.MaskEdit_ip = "010001002003";
  s.Edit_ssid = "Nová";
  s.Edit_key[1] = "nový";
  s.Edit_ftp_port = "21a";
  s.Edit_ftp_meno = "iný";
  s.MaskEdit_ftp_ip = "001001001001";
  try {
    writeWifiSettings(file, s);
    FAIL() << "no conversion error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'21a' is not a valid integer value");
  }
  WifiSettings after = readWifiSettings(file);
  EXPECT_EQ(after.MaskEdit_ip, "010001002003");
  EXPECT_EQ(after.Edit_ssid, "Nová");
  EXPECT_EQ(after.Edit_key[1], "nový");
  EXPECT_EQ(after.Edit_ftp_port, "2121");
  EXPECT_EQ(after.Edit_ftp_meno, "nodra");
  EXPECT_EQ(after.MaskEdit_ftp_ip, "010000000005");
}

// Numbers the controls cannot show come back as the control would hold them; writing keeps the rest.
TEST_F(WifiFile, EntryNumbersOutsideTheControlsRange) {
  struct Case {
    std::string_view line;
    int WifiSettings::*member;
    int expected;
  };
  const Case cases[] = {
      {"WLANFLAG_AUTHEN=0", &WifiSettings::RG_wifi_sec, -1},
      {"WLANFLAG_AUTHEN=9", &WifiSettings::RG_wifi_sec, 4},
      {"WLANFLAG_AUTHEN=-2147483648", &WifiSettings::RG_wifi_sec, -1},
      {"WLANFLAG_PREAMBLE=7", &WifiSettings::RG_preamble, 2},
      {"DEFAULTKEY=4", &WifiSettings::CB_wep_default, -1},
      {"WEPLEN=2", &WifiSettings::CB_wep_len, -1},
      {"WEPLEN=x", &WifiSettings::CB_wep_len, 0},
  };
  for (const Case& c : cases) {
    writeFile(path, "[WIFI]\r\n" + std::string(c.line) + "\r\n");
    EXPECT_EQ(readWifiSettings(file).*c.member, c.expected) << c.line;
  }
  writeFile(path, "[WIFI]\r\nDEFAULTKEY=9\r\n");
  writeWifiSettings(file, readWifiSettings(file));
  EXPECT_NE(readFile(path).find("DEFAULTKEY=-1\r\n"), std::string::npos);
}

TEST(WifiAddress, BoxTextIsThreeDigitsPerPart) {
  EXPECT_EQ(addressBoxText(192, 168, 1, 10), "192168001010");
  EXPECT_EQ(addressBoxText(0, 0, 0, 0), "000000000000");
  EXPECT_EQ(addressBoxText(-5, 1000, 7, -123), "-051000007-123");
}

TEST(WifiAddress, BoxValueSplitsIntoGroupsOfThree) {
  struct Case {
    std::string_view value;
    std::array<int, 4> parts;
  };
  const Case cases[] = {
      {"192168001010", {192, 168, 1, 10}},
      {"999999999999", {999, 999, 999, 999}},
      {"", {0, 0, 0, 0}},
      {"19216", {192, 16, 0, 0}},
      {"1__2__3__4__", {1, 2, 3, 4}},
      {"  1 \t2-12+34", {1, 2, -12, 34}},
      {"_12abc 9x", {0, 0, 9, 0}},
      {"1234567890123456", {123, 456, 789, 12}},
  };
  for (const Case& c : cases) EXPECT_EQ(addressParts(c.value), c.parts) << c.value;
}

TEST_F(WifiFile, NumbersIgnoreADecimalCommaLocale) {
  testing::DecimalCommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no sk_SK.UTF-8 locale";
  writeWifiSettings(file, typed());
  EXPECT_EQ(readFile(path), kTypedFile);
  EXPECT_EQ(readWifiSettings(file).MaskEdit_ip, "192168001010");
}

}  // namespace
}  // namespace nodra
