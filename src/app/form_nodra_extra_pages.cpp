// The FLASH page (program upload), the WIFI page (CONFIG\wifi.ini) and the POHODA page (data pack, import).
#include <pugixml.hpp>

#include "accounting/data_pack.h"
#include "accounting/pohoda_import.h"
#include "app/form_nodra.h"
#include "app/qt_text.h"
#include "platform/integer_text.h"
#include "platform/path_text.h"
#include "terminal/program_upload.h"
#include "terminal/wifi_settings.h"

namespace nodra {

void TForm_nodra::connectExtraPages() {
  connect(TabSheet2->Button21, &QPushButton::clicked, this, [this] { Button21Click(); });
  connect(TabSheet2->BitBtn_napln, &QPushButton::clicked, this, [this] { BitBtn_naplnClick(); });
  connect(TabSheet1->BitBtn_cfg_wifi, &QPushButton::clicked, this, [this] { BitBtn_cfg_wifiClick(); });
  connect(TabSheet1->RG_wifi_sec_items, &QButtonGroup::idToggled, this, [this](int entry, bool checked) {
    if (checked) RG_wifi_secClick(entry);
  });
  connect(TabSheet1->PageControl_security->tabBar(), &QTabBar::tabBarClicked, this,
          [this](int page) { PageControl_securityChange(page); });
  connect(TabSheet3->Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  connect(TabSheet3->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(TabSheet3->Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
  connect(tab_xml->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

// --- FLASH ---

void TForm_nodra::TabSheet2Show() { dialogsStartInWorkingFolder_ = true; }

void TForm_nodra::Button21Click() {
  auto chosen = chooseFile_(QString(), QStringLiteral("*.SHX subory s programom (*.shx *.SHX);;vsetky subory (*)"),
                            QString(), true);
  if (chosen) TabSheet2->Edit_program->setText(*chosen);
}

void TForm_nodra::BitBtn_naplnClick() {
  auto path = fromQsExact(TabSheet2->Edit_program->text());
  if (!path) {
    Message m;
    m.text = "Cesta " + fromQs(TabSheet2->Edit_program->text()) + " obsahuje znaky, ktoré sa nedajú spracovať.";
    m.caption = "Chyba prenosu programu.";
    m.icon = Icon::Warning;
    m.outcome = Outcome::Failure;
    ui_->message(m);
    return;
  }
  uploadProgram(session_, *path);
}

// --- WIFI ---

std::optional<FilePlace> TForm_nodra::wifiFileOrTell(const char* wording) {
  if (session_.drive && !inspectPlace(session_.drive->place("CONFIG"), true).failed()) {
    return session_.drive->place(kTerminalWifiFile);
  }
  Message m;
  m.text = wording;
  m.caption = "NODRA nepripojená.";
  m.icon = Icon::Warning;
  m.ownedByWindow = true;
  m.outcome = Outcome::NoTerminal;
  ui_->message(m);
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
  Message done;
  done.text = "Konfigurácia prenesená do NODRA.";
  done.caption = "NODRA3000";
  done.icon = Icon::Information;
  ui_->message(done);
  ui_->setStatus("Konfigurácia zapísaná");
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

// --- POHODA ---

void TForm_nodra::Button3Click() {
  const PohodaImportCommand command =
      readPohodaImportCommand(ProfileFile(toFsPath(localSettingsPath), localSettingsPath));
  switch (launchPohodaImport(command)) {
    case PohodaLaunch::Started: break;
    case PohodaLaunch::ExecutableUnset: ui_->message(pohodaImportUnsetMessage()); break;
    case PohodaLaunch::Failed: {
      Message m;
      m.text = "Program " + command.executable + " sa nepodarilo spustiť.";
      m.caption = "Pozor...";
      m.icon = Icon::Warning;
      m.outcome = Outcome::Failure;
      ui_->message(m);
      break;
    }
  }
}

void TForm_nodra::Button2Click() {
  try {
    runXmlParse(folderPart(settings.path_xmlOut));
  } catch (const std::exception& e) {
    reportFailure(e.what());
  }
}

void TForm_nodra::Button1Click() {
  const std::string path = folderPart(settings.path_xmlOut) + "/DATA_OUT.XML";
  auto document = std::make_shared<pugi::xml_document>();
  pugi::xml_parse_result parsed = document->load_file(toFsPath(path).c_str(), pugi::parse_default);
  if (!parsed) {
    reportFailure("Cannot load \"" + path + "\": " + parsed.description());
    return;
  }
  loadedDocuments_.push_back(document);
}

}  // namespace nodra
