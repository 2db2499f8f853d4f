#pragma once
// The "WIFI" page: the terminal's wireless and FTP settings (CONFIG\wifi.ini). Its tab is kept hidden.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <array>

#include "app/pages/lazy_page.h"
#include "terminal/wifi_settings.h"

namespace nodra {

class WifiPage : public LazyPage {
 public:
  explicit WifiPage(QWidget* parent = nullptr) : LazyPage(parent) {}

  // Fills the controls; the security group's change runs the form's handler, which picks the security page.
  void show(const WifiSettings& w);
  WifiSettings settings() const;

  // The address boxes' value: their characters without the dots, a blank place as a space.
  static QString addressValue(const QLineEdit* box);

  QLineEdit* MaskEdit_ip;
  QLineEdit* MaskEdit_subnet;
  QLineEdit* MaskEdit_gateway;
  QCheckBox* ChBox_dhcp;
  QLineEdit* Edit_ssid;
  QGroupBox* RG_wifi_sec;
  QButtonGroup* RG_wifi_sec_items;  // 0 "Open System" .. 4 "EAP"
  QGroupBox* RG_preamble;
  QButtonGroup* RG_preamble_items;     // 0 "Long", 1 "Short", 2 "Both"
  QTabWidget* PageControl_security;    // "WEP", "EAP", "WPA"
  std::array<QLineEdit*, 4> Edit_key;  // Edit_key0 .. Edit_key3
  QComboBox* CB_wep_default;
  QComboBox* CB_wep_len;
  QLineEdit* Edit_eap_id;
  QLineEdit* Edit_eap_psw;
  QLineEdit* Edit_wpa_heslo;
  QLineEdit* Edit_wpa_pmk;
  QGroupBox* GB_ftp;
  QLineEdit* MaskEdit_ftp_ip;
  QLineEdit* Edit_ftp_meno;
  QLineEdit* Edit_ftp_heslo;
  QLineEdit* Edit_ftp_port;
  QPushButton* BitBtn_cfg_wifi;
  QLabel* Lab_oznam;

 protected:
  void build() override;
};

}  // namespace nodra
