#include "terminal/wifi_settings.h"

#include <algorithm>
#include <charconv>

#include "platform/integer_text.h"

namespace nodra {

namespace {

constexpr std::string_view kWifi = "WIFI";
constexpr std::string_view kFtp = "FTP";
// The box value was handed to the conversion as a fixed 8-bit buffer.
constexpr std::size_t kBoxValueLimit = 149;

// "%03d" without the locale-bound printf family.
std::string threeDigits(int value) {
  char digits[16];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  std::string text(digits, end);
  std::size_t signWidth = value < 0 ? 1 : 0;
  if (text.size() < 3) text.insert(signWidth, 3 - text.size(), '0');
  return text;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Blanks, an optional sign, then the digits up to the first other character; none gives 0.
int leadingNumber(std::string_view group) {
  std::size_t i = 0;
  while (i < group.size() && isBlank(group[i])) ++i;
  bool negative = false;
  if (i < group.size() && (group[i] == '+' || group[i] == '-')) negative = group[i++] == '-';
  int value = 0;
  for (; i < group.size() && group[i] >= '0' && group[i] <= '9'; ++i) value = value * 10 + (group[i] - '0');
  return negative ? -value : value;
}

std::string readAddress(const ProfileFile& f, std::string_view key, const std::array<int, 4>& defaults) {
  std::array<int, 4> parts{};
  for (int i = 0; i < 4; ++i) {
    parts[i] = f.readInteger(kWifi, std::string(key) + static_cast<char>('0' + i), defaults[i]);
  }
  return addressBoxText(parts[0], parts[1], parts[2], parts[3]);
}

void writeAddress(ProfileFile& f, std::string_view key, std::string_view boxValue) {
  std::array<int, 4> parts = addressParts(boxValue);
  for (int i = 0; i < 4; ++i) f.writeInteger(kWifi, std::string(key) + static_cast<char>('0' + i), parts[i]);
}

int radioEntry(int value, int count) { return std::clamp(value, -1, count - 1); }
int listEntry(int value, int count) { return value >= 0 && value < count ? value : -1; }

}  // namespace

std::string addressBoxText(int part0, int part1, int part2, int part3) {
  return threeDigits(part0) + threeDigits(part1) + threeDigits(part2) + threeDigits(part3);
}

std::array<int, 4> addressParts(std::string_view boxValue) {
  boxValue = boxValue.substr(0, std::min(boxValue.size(), kBoxValueLimit));
  std::array<int, 4> parts{};
  for (std::size_t i = 0; i < 4; ++i) {
    std::size_t start = std::min(boxValue.size(), i * 3);
    parts[i] = leadingNumber(boxValue.substr(start, 3));
  }
  return parts;
}

WifiSettings readWifiSettings(const ProfileFile& f) {
  WifiSettings s;
  s.MaskEdit_ip = readAddress(f, "IPADDR", {0, 0, 0, 0});
  s.MaskEdit_subnet = readAddress(f, "SUBNETMASK", {255, 255, 255, 0});
  s.MaskEdit_gateway = readAddress(f, "DEFAULTGATEWAY", {0, 0, 0, 0});
  s.Edit_ssid = f.readString(kWifi, "SSID", "");
  s.ChBox_dhcp = f.readBool(kWifi, "DHCP", false);
  s.RG_preamble = radioEntry(f.readInteger(kWifi, "WLANFLAG_PREAMBLE", 0), 3);
  int authen = f.readInteger(kWifi, "WLANFLAG_AUTHEN", 1);
  s.RG_wifi_sec = authen <= 0 ? -1 : radioEntry(authen - 1, 5);
  s.Edit_eap_id = f.readString(kWifi, "EAPID", "");
  s.Edit_eap_psw = f.readString(kWifi, "EAPPASSWORD", "");
  s.Edit_wpa_heslo = f.readString(kWifi, "WPAPASSPHRASE", "");
  s.Edit_wpa_pmk = f.readString(kWifi, "WPAPMK", "");
  for (int i = 0; i < 4; ++i) {
    s.Edit_key[i] = f.readString(kWifi, std::string("WEPKEY") + static_cast<char>('0' + i), "");
  }
  s.CB_wep_default = listEntry(f.readInteger(kWifi, "DEFAULTKEY", 0), 4);
  s.CB_wep_len = listEntry(f.readInteger(kWifi, "WEPLEN", 0), 2);
  s.MaskEdit_ftp_ip = readAddress(f, "FTP_IP", {0, 0, 0, 0});
  s.Edit_ftp_port = intToText(f.readInteger(kFtp, "FTPPORT", 21));
  s.Edit_ftp_meno = f.readString(kFtp, "FTPMENO", "");
  s.Edit_ftp_heslo = f.readString(kFtp, "FTPHESLO", "");
  return s;
}

void writeWifiSettings(ProfileFile& f, const WifiSettings& s) {
  writeAddress(f, "IPADDR", s.MaskEdit_ip);
  writeAddress(f, "SUBNETMASK", s.MaskEdit_subnet);
  writeAddress(f, "DEFAULTGATEWAY", s.MaskEdit_gateway);
  f.writeString(kWifi, "SSID", s.Edit_ssid);
  f.writeInteger(kWifi, "DHCP", s.ChBox_dhcp ? 1 : 0);
  f.writeInteger(kWifi, "WLANFLAG_PREAMBLE", s.RG_preamble);
  f.writeInteger(kWifi, "WLANFLAG_AUTHEN", s.RG_wifi_sec + 1);
  f.writeString(kWifi, "EAPID", s.Edit_eap_id);
  f.writeString(kWifi, "EAPPASSWORD", s.Edit_eap_psw);
  f.writeString(kWifi, "WPAPASSPHRASE", s.Edit_wpa_heslo);
  f.writeString(kWifi, "WPAPMK", s.Edit_wpa_pmk);
  for (int i = 0; i < 4; ++i) {
    f.writeString(kWifi, std::string("WEPKEY") + static_cast<char>('0' + i), s.Edit_key[i]);
  }
  f.writeInteger(kWifi, "DEFAULTKEY", s.CB_wep_default);
  f.writeInteger(kWifi, "WEPLEN", s.CB_wep_len);
  f.writeInteger(kFtp, "FTPPORT", strToInt(s.Edit_ftp_port));
  f.writeString(kFtp, "FTPMENO", s.Edit_ftp_meno);
  f.writeString(kFtp, "FTPHESLO", s.Edit_ftp_heslo);
  writeAddress(f, "FTP_IP", s.MaskEdit_ftp_ip);
}

}  // namespace nodra
