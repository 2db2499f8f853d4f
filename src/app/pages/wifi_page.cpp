#include "app/pages/wifi_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/pages/page_helpers.h"

namespace nodra {

namespace {
QLineEdit* addressBox(QWidget* parent, std::string_view hint) {
  auto* box = withHint(new QLineEdit(parent), hint);
  box->setInputMask(QStringLiteral("000.000.000.000;_"));
  return box;
}

QLineEdit* limitedEdit(QWidget* parent, int limit, std::string_view hint = {}) {
  auto* box = new QLineEdit(parent);
  box->setMaxLength(limit);
  if (!hint.empty()) box->setToolTip(qs(hint));
  return box;
}

QButtonGroup* radioGroup(QGroupBox* box, std::initializer_list<std::string_view> captions, bool vertical) {
  auto* group = new QButtonGroup(box);
  QBoxLayout* layout = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(box)) : new QHBoxLayout(box);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(0);
  int id = 0;
  for (std::string_view caption : captions) {
    auto* item = new QRadioButton(qs(caption), box);
    group->addButton(item, id++);
    layout->addWidget(item);
  }
  group->button(0)->setChecked(true);
  return group;
}

QString maskText(const std::string& digits) {
  // The masked box shows its twelve places in four groups of three.
  QString text = qs(digits);
  for (int dot : {9, 6, 3}) text.insert(dot, QLatin1Char('.'));
  return text;
}
}  // namespace

QString WifiPage::addressValue(const QLineEdit* box) {
  QString value = box->displayText();
  value.remove(QLatin1Char('.'));
  value.replace(QLatin1Char('_'), QLatin1Char(' '));
  return value;
}

void WifiPage::build() {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setVerticalSpacing(2);
  MaskEdit_ip = addressBox(this, "IP adresa terminalu");
  MaskEdit_subnet = addressBox(this, "Maska siete v tvare 255.255.255.000");
  MaskEdit_gateway = addressBox(this, "Vstupna brana do siete");
  ChBox_dhcp = withHint(new QCheckBox(qs("DHCP"), this), "Na ziskanie IP adresy sa pouzije DHCP server");
  Edit_ssid = limitedEdit(this, 33, "SSID wifi siete");
  int row = 0;
  for (auto [caption, box] : {std::pair<const char*, QWidget*>{"IP adresa", MaskEdit_ip},
                              {"SubnetMask", MaskEdit_subnet},
                              {"Gateway", MaskEdit_gateway},
                              {"SSID", Edit_ssid}}) {
    grid->addWidget(new QLabel(qs(caption), this), row, 0);
    grid->addWidget(box, row++, 1);
  }
  grid->addWidget(ChBox_dhcp, 0, 2);

  RG_wifi_sec = new QGroupBox(qs(" Security "), this);
  RG_wifi_sec_items = radioGroup(RG_wifi_sec, {"Open System", "WEP Key", "WPA-PSK", "WPA2-PSK", "EAP"}, true);
  RG_preamble = new QGroupBox(qs(" Preamble "), this);
  RG_preamble_items = radioGroup(RG_preamble, {"Long", "Short", "Both"}, true);
  grid->addWidget(RG_wifi_sec, row, 0, 1, 2);
  grid->addWidget(RG_preamble, row++, 2);

  PageControl_security = new QTabWidget(this);
  auto* wep = new QWidget(PageControl_security);
  auto* wg = new QGridLayout(wep);
  wg->setVerticalSpacing(1);
  for (std::size_t i = 0; i < Edit_key.size(); ++i) {
    // The first key box takes 14 characters, the others 31, as the terminal's firmware expects.
    Edit_key[i] = limitedEdit(wep, i == 0 ? 14 : 31);
    wg->addWidget(new QLabel(QStringLiteral("Key %1").arg(i), wep), static_cast<int>(i), 0);
    wg->addWidget(Edit_key[i], static_cast<int>(i), 1);
  }
  CB_wep_default = pickList(wep, {"0", "1", "2", "3"}, "Prednastaveny kluc");
  CB_wep_len = pickList(wep, {"64", "128"}, "Dlzka zabezpecovacieho kluca");
  wg->addWidget(new QLabel(qs("Default KEY"), wep), 0, 2);
  wg->addWidget(CB_wep_default, 1, 2);
  wg->addWidget(new QLabel(qs("WEP len"), wep), 2, 2);
  wg->addWidget(CB_wep_len, 3, 2);
  auto* eap = new QWidget(PageControl_security);
  auto* eg = new QGridLayout(eap);
  Edit_eap_id = limitedEdit(eap, 33, "ID used to associate to APs");
  Edit_eap_psw = limitedEdit(eap, 33, "Password used to associate to Cisco");
  eg->addWidget(new QLabel(qs("EAP ID"), eap), 0, 0);
  eg->addWidget(Edit_eap_id, 0, 1);
  eg->addWidget(new QLabel(qs("EAP psw"), eap), 1, 0);
  eg->addWidget(Edit_eap_psw, 1, 1);
  auto* wpa = new QWidget(PageControl_security);
  auto* pg = new QGridLayout(wpa);
  Edit_wpa_heslo = limitedEdit(wpa, 64, "Passphrase to access the network: 8..63 znakov");
  Edit_wpa_pmk = limitedEdit(wpa, 32, "Stored Pre-Shared Key, generated based on SSID and Passphrase");
  pg->addWidget(new QLabel(qs("WPA Passphrase"), wpa), 0, 0);
  pg->addWidget(Edit_wpa_heslo, 0, 1);
  pg->addWidget(new QLabel(qs("WPA pmk"), wpa), 1, 0);
  pg->addWidget(Edit_wpa_pmk, 1, 1);
  PageControl_security->addTab(wep, qs("WEP"));
  PageControl_security->addTab(eap, qs("EAP"));
  PageControl_security->addTab(wpa, qs("WPA"));
  PageControl_security->setCurrentIndex(2);
  grid->addWidget(PageControl_security, row++, 0, 1, 3);

  GB_ftp = new QGroupBox(qs(" ftp server "), this);
  auto* fg = new QGridLayout(GB_ftp);
  fg->setVerticalSpacing(1);
  MaskEdit_ftp_ip = addressBox(GB_ftp, "IP adresa ftp servera");
  Edit_ftp_meno = limitedEdit(GB_ftp, 33, "Pristupove meno na server ");
  Edit_ftp_heslo = limitedEdit(GB_ftp, 33, "Pristupove heslo");
  Edit_ftp_port = limitedEdit(GB_ftp, 5, "Port pomocou ktoreho sa pripaja ftp server");
  Edit_ftp_port->setText(qs("21"));
  int frow = 0;
  for (auto [caption, box] : {std::pair<const char*, QWidget*>{"IP adresa", MaskEdit_ftp_ip},
                              {"Meno", Edit_ftp_meno},
                              {"Heslo", Edit_ftp_heslo},
                              {"Port", Edit_ftp_port}}) {
    fg->addWidget(new QLabel(qs(caption), GB_ftp), frow, 0);
    fg->addWidget(box, frow++, 1);
  }
  grid->addWidget(GB_ftp, row++, 0, 1, 3);
  BitBtn_cfg_wifi = withHint(new QPushButton(qs("Zapíš do NODRA "), this), "Naplnenie konfiguracie do terminalu");
  Lab_oznam = new QLabel(qs("WIFI režim je vo vývoji..."), this);
  grid->addWidget(Lab_oznam, row, 0, 1, 2);
  grid->addWidget(BitBtn_cfg_wifi, row++, 2);
  grid->setRowStretch(row, 1);
}

void WifiPage::show(const WifiSettings& w) {
  MaskEdit_ip->setText(maskText(w.MaskEdit_ip));
  MaskEdit_subnet->setText(maskText(w.MaskEdit_subnet));
  MaskEdit_gateway->setText(maskText(w.MaskEdit_gateway));
  Edit_ssid->setText(qs(w.Edit_ssid));
  ChBox_dhcp->setChecked(w.ChBox_dhcp);
  if (auto* b = RG_preamble_items->button(w.RG_preamble)) b->setChecked(true);
  if (auto* b = RG_wifi_sec_items->button(w.RG_wifi_sec)) b->setChecked(true);
  Edit_eap_id->setText(qs(w.Edit_eap_id));
  Edit_eap_psw->setText(qs(w.Edit_eap_psw));
  Edit_wpa_heslo->setText(qs(w.Edit_wpa_heslo));
  Edit_wpa_pmk->setText(qs(w.Edit_wpa_pmk));
  for (std::size_t i = 0; i < 4; ++i) Edit_key[i]->setText(qs(w.Edit_key[i]));
  CB_wep_default->setCurrentIndex(w.CB_wep_default);
  CB_wep_len->setCurrentIndex(w.CB_wep_len);
  MaskEdit_ftp_ip->setText(maskText(w.MaskEdit_ftp_ip));
  Edit_ftp_port->setText(qs(w.Edit_ftp_port));
  Edit_ftp_meno->setText(qs(w.Edit_ftp_meno));
  Edit_ftp_heslo->setText(qs(w.Edit_ftp_heslo));
}

WifiSettings WifiPage::settings() const {
  WifiSettings w;
  w.MaskEdit_ip = fromQs(addressValue(MaskEdit_ip));
  w.MaskEdit_subnet = fromQs(addressValue(MaskEdit_subnet));
  w.MaskEdit_gateway = fromQs(addressValue(MaskEdit_gateway));
  w.Edit_ssid = fromQs(Edit_ssid->text());
  w.ChBox_dhcp = ChBox_dhcp->isChecked();
  w.RG_preamble = RG_preamble_items->checkedId();
  w.RG_wifi_sec = RG_wifi_sec_items->checkedId();
  w.Edit_eap_id = fromQs(Edit_eap_id->text());
  w.Edit_eap_psw = fromQs(Edit_eap_psw->text());
  w.Edit_wpa_heslo = fromQs(Edit_wpa_heslo->text());
  w.Edit_wpa_pmk = fromQs(Edit_wpa_pmk->text());
  for (std::size_t i = 0; i < 4; ++i) w.Edit_key[i] = fromQs(Edit_key[i]->text());
  w.CB_wep_default = CB_wep_default->currentIndex();
  w.CB_wep_len = CB_wep_len->currentIndex();
  w.MaskEdit_ftp_ip = fromQs(addressValue(MaskEdit_ftp_ip));
  w.Edit_ftp_port = fromQs(Edit_ftp_port->text());
  w.Edit_ftp_meno = fromQs(Edit_ftp_meno->text());
  w.Edit_ftp_heslo = fromQs(Edit_ftp_heslo->text());
  return w;
}

}  // namespace nodra
