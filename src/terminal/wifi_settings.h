#pragma once
// The terminal's wireless and FTP settings, CONFIG\wifi.ini, as the WIFI page's controls hold them.
// Texts are Windows-1250 and stored exactly as typed.
#include <array>
#include <string>
#include <string_view>

#include "platform/profile_file.h"

namespace nodra {

struct WifiSettings {
  // Address boxes: their value, the twelve digit places without the dots ("192168001010").
  std::string MaskEdit_ip = "000000000000";
  std::string MaskEdit_subnet = "255255255000";
  std::string MaskEdit_gateway = "000000000000";
  std::string Edit_ssid;
  bool ChBox_dhcp = false;
  int RG_preamble = 0;  // 0 "Long", 1 "Short", 2 "Both"; -1 none
  int RG_wifi_sec = 0;  // 0 "Open System" .. 4 "EAP"; -1 none
  std::string Edit_eap_id;
  std::string Edit_eap_psw;
  std::string Edit_wpa_heslo;
  std::string Edit_wpa_pmk;
  std::array<std::string, 4> Edit_key;  // Edit_key0 .. Edit_key3
  int CB_wep_default = 0;               // entries "0".."3"; -1 when nothing is selected
  int CB_wep_len = 0;                   // 0 "64", 1 "128"; -1 when nothing is selected
  std::string MaskEdit_ftp_ip = "000000000000";
  std::string Edit_ftp_port = "21";
  std::string Edit_ftp_meno;
  std::string Edit_ftp_heslo;
};

// Reads every key; missing or non-numeric values give the defaults. Entry numbers come back as the controls
// can hold them: a radio group keeps the nearest entry, a list selects nothing (-1) for a number it lacks.
WifiSettings readWifiSettings(const ProfileFile& file);

// Writes every key in the terminal's order. Throws ConvertError when Edit_ftp_port is not a whole number and
// WriteError when a key cannot be written; the keys before it stay written.
void writeWifiSettings(ProfileFile& file, const WifiSettings& settings);

// The address parts as the box shows them: "%03d" four times.
std::string addressBoxText(int part0, int part1, int part2, int part3);
// The four parts of a box value: consecutive groups of three characters, each read as a leading whole number.
std::array<int, 4> addressParts(std::string_view boxValue);

}  // namespace nodra
