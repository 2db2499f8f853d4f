// The "WIFI" page: the terminal's wireless and FTP settings, CONFIG\wifi.ini, read when the page is shown and
// written on "Zapíš do NODRA".
#include "app/form_nodra.h"
#include "terminal/terminal_detection.h"
#include "terminal/wifi_settings.h"

namespace nodra {

void TForm_nodra::connectWifiPage() {
  connect(TabSheet1->BitBtn_cfg_wifi, &QPushButton::clicked, this, &TForm_nodra::BitBtn_cfg_wifiClick);
  connect(TabSheet1->RG_wifi_sec_items, &QButtonGroup::idToggled, this, [this](int entry, bool checked) {
    if (checked) RG_wifi_secClick(entry);
  });
  connect(TabSheet1->PageControl_security->tabBar(), &QTabBar::tabBarClicked, this,
          &TForm_nodra::PageControl_securityChange);
}

std::optional<FilePlace> TForm_nodra::wifiFileOrTell(const char* wording) {
  if (session_.drive && !inspectPlace(session_.drive->place("CONFIG"), true).failed()) {
    return session_.drive->place(kTerminalWifiFile);
  }
  ui_->message(notConnectedMessage(wording));
  ui_->setStatus("NODRA nepripojený");
  return std::nullopt;
}

void TForm_nodra::TabSheet1Show() {
  if (!session_.check()) return;
  auto path = wifiFileOrTell(
      "- NODRA sa nepodarilo zdetekovať\r\n\r\n- zvolte na NODRA voľbu PRENOS UDAJOV\r\n\r\n-vyberte žiadaný prenos");
  if (!path) return;
  TabSheet1->show(readWifiSettings(ProfileFile(*path)));
}

void TForm_nodra::BitBtn_cfg_wifiClick() {
  if (!session_.check()) return;
  auto path = wifiFileOrTell(
      "- NODRA sa nepodarilo detekovať\r\n\r\n- zvoľte na NODRA voľbu PRENOS UDAJOV\r\n\r\n- vyberte žiadaný prenos");
  if (!path) return;
  const WifiSettings w = TabSheet1->settings();
  ProfileFile file(*path);
  try {
    writeWifiSettings(file, w);
  } catch (const std::exception& e) {
    reportFailure(e.what());
    return;
  }
  ui_->message(informationMessage("Konfigurácia prenesená do NODRA.", kProgramName));
  ui_->setStatus(kConfigWrittenStatus);
}

void TForm_nodra::RG_wifi_secClick(int entry) {
  QTabWidget* pages = TabSheet1->PageControl_security;
  // Entry to security page as the terminal's menu pairs them: WPA-PSK shows the EAP page, the rest WPA.
  static const int kPageOf[] = {-1, 0, 1, 2, 2};
  if (entry < 0 || entry > 4 || kPageOf[entry] < 0) {
    pages->hide();
    return;
  }
  pages->show();
  pages->setCurrentIndex(kPageOf[entry]);
}

void TForm_nodra::PageControl_securityChange(int page) {
  if (page < 0 || page > 2) return;
  if (auto* b = TabSheet1->RG_wifi_sec_items->button(page + 1)) b->setChecked(true);
}

}  // namespace nodra
