// The window itself: its two views, the status bar and gauge, the start, the close and the switch of views.
#include "app/form_nodra.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "app/qt_text.h"
#include "app/terminal_picture.h"
#include "platform/exe_folder.h"
#include "platform/path_text.h"

namespace nodra {

namespace {
QPushButton* commandButton(QWidget* parent, std::string_view caption, std::string_view hint, QRect place) {
  auto* b = new QPushButton(qs(caption), parent);
  if (!hint.empty()) b->setToolTip(qs(hint));
  b->setGeometry(place);
  QFont f = b->font();
  f.setPointSize(12);
  b->setFont(f);
  return b;
}

// A freshly created window's fields: zeros and empty texts until the first load fills them. Handlers that run
// during that load see only what has been read so far, never the keys' defaults.
LocalSettings emptySettings() {
  LocalSettings s;
  s.formatovatData = 0;
  s.KOD_dlzka = s.POC_zac = s.POC_dlzka = s.CEN_zac = s.CEN_dlzka = s.NAZ_zac = s.NAZ_dlzka = 0;
  s.dlzka1_OSK = s.dlzka2_OSK = s.dlzka3_OSK = s.dlzka4_OSK = 0;
  s.Odd_ISK = s.Odd_OSK = false;
  s.Odd2_ISK = s.Odd3_ISK = s.Odd4_ISK = s.Odd2_OSK = s.Odd3_OSK = s.Odd4_OSK = 0;
  s.Odd_Char_ISK = s.Odd_Char_OSK = 0;
  s.PDM1_OSK = s.PDM2_OSK = 0;
  return s;
}

// `folder`, when given, is where a dialog without a preset opens; the preset itself names a file.
std::optional<QString> chooseWithDialog(QWidget* parent, const QString& title, const QString& filter,
                                        const QString& preset, bool mustExist, const QString& folder) {
  QFileDialog dialog(parent, title, QString(), filter);
  dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (!preset.isEmpty()) {
    dialog.selectFile(preset);
  } else if (!folder.isEmpty()) {
    dialog.setDirectory(folder);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}
}  // namespace

TForm_nodra::TForm_nodra(StartOptions options, std::unique_ptr<VolumeSource> volumes)
    : options_(std::move(options)),
      volumes_(std::move(volumes)),
      ui_(std::make_unique<FormUi>(options_.headless)),
      session_{*ui_, *volumes_, std::nullopt} {
  settings = emptySettings();
  setObjectName(QStringLiteral("Form_nodra"));
  setWindowTitle(qs(" NODRA3000 1.203"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(192, 192, 192));
  pal.setColor(QPalette::WindowText, QColor(128, 0, 0));
  // Maroon in every state would make a disabled label look as live as the others.
  pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(150, 150, 150));
  setPalette(pal);
  setAutoFillBackground(true);
  // The window was laid out for a small 8-point face; the pages need it to fit their controls.
  QFont small = font();
  small.setPointSize(8);
  setFont(small);
  applicationTitle_ = qs(kProgramName);

  buildMainView();
  buildConfigurationView();
  placeBars();
  ui_->keepSummary(options_.summary);
  ui_->attach(FormUi::Widgets{this, StatusBar1, statusPanel0, statusPanel1, Bar,
                              [this](const QString& title) { setApplicationTitle(title); }});
  chooseFile_ = [this](const QString& title, const QString& filter, const QString& preset, bool mustExist) {
    return chooseWithDialog(this, title, filter, preset, mustExist,
                            dialogsStartInWorkingFolder_ ? QDir::currentPath() : QString());
  };
  chooseFolder_ = [this](const QString& title, const QString& preset) -> std::optional<QString> {
    QFileDialog dialog(this, title, preset);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
  };
  connectHandlers();
}

TForm_nodra::~TForm_nodra() = default;

void TForm_nodra::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (batchMode() || options_.headless) return;
  if (!monitor_) {
    auto busy = [this] { return ui_->busy() || QApplication::activeModalWidget() != nullptr; };
    auto show = [this](const std::optional<TerminalDrive>& drive) {
      ui_->setDriveText(drive ? drive->label : std::string(kNoDriveText));
      ui_->setStatus(drive ? "NODRA pripojený" : "NODRA nepripojený");
    };
    monitor_ = std::make_unique<TerminalMonitor>(*volumes_, busy, show);
    session_.detected = [this](const std::optional<TerminalDrive>& drive) { monitor_->detected(drive); };
  }
  // The folders of NODRA3000_DRIVES do not show in the mount table.
  monitor_->start(std::getenv("NODRA3000_DRIVES") != nullptr);
}

void TForm_nodra::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (monitor_) monitor_->stop();
}

void TForm_nodra::buildMainView() {
  auto* content = new QWidget(this);
  mainView = content;
  Image1 = new TerminalPicture(content);
  Image1->setGeometry(15, 63, 161, 345);
  Btn_vyc_karty = commandButton(content, "&VYČÍTAJ", "Vyčítanie položiek do PC.", QRect(218, 104, 129, 30));
  Btn_napln_sklad = commandButton(content, "&NAPLŇ", "Naplnanie položiek do NODRA.", QRect(217, 165, 129, 30));
  Btn_konfiguracia = commandButton(content, "N&ASTAV", "", QRect(218, 360, 129, 30));
  Btn_nenul_karty = commandButton(content, "Nenulové položky", "Vyčítanie nenulových položiek z hlavného skladu.", {});
  Btn_vyc_zost = commandButton(content, "Zostavy", "Vyčítanie zostavy a skladu výdajok a príjemok.", {});
  Btn_nul_sklad =
      commandButton(content, "Všetky sklady",
                    "Nulovanie množstva v položkách hlavného skladu. Zostava a sklad VP sa zmažú kompletne celé.", {});
  Btn_nul_zost = commandButton(content, "Zostava", "Zmazanie zostavy.", {});
  Btn_nul_skladVP = commandButton(content, "Výdajky, príjemky", "Zmazanie skladu výdajok, príjemok.", {});
  Btn_nul_hlSklad =
      commandButton(content, "Hlavný sklad", "Nulovanie množstva vo všetkých položkách hlavného skladu.", {});
  for (QPushButton* hidden :
       {Btn_nenul_karty, Btn_vyc_zost, Btn_nul_sklad, Btn_nul_zost, Btn_nul_skladVP, Btn_nul_hlSklad}) {
    hidden->hide();
  }
  // The keyboard takes the commands in the order they are read, top to bottom.
  setTabOrder(Btn_vyc_karty, Btn_napln_sklad);
  setTabOrder(Btn_napln_sklad, Btn_konfiguracia);

  StatusBar1 = new QWidget(this);
  StatusBar1->setAutoFillBackground(true);
  auto* panels = new QHBoxLayout(StatusBar1);
  panels->setContentsMargins(0, 0, 0, 0);
  // The two panels fill the bar's width exactly; a gap between them would push panel 1's edge out.
  panels->setSpacing(0);
  statusPanel0 = new QLabel(qs(kNoDriveText), StatusBar1);
  statusPanel1 = new QLabel(StatusBar1);
  statusPanel0->setFixedWidth(70);
  statusPanel1->setFixedWidth(300);
  for (QLabel* panel : {statusPanel0, statusPanel1}) {
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panels->addWidget(panel);
  }
  panels->addStretch();
  Bar = new StatusGauge(this);
  Bar->hide();
}

void TForm_nodra::placeBars() {
  // From the bottom edge up: the gauge when it is shown, the status bar, and the views above them.
  const int gauge = Bar->isHidden() ? 0 : kStatusHeight;
  const int above = std::max(0, height() - gauge - kStatusHeight);
  Bar->setGeometry(0, height() - gauge, width(), kStatusHeight);
  StatusBar1->setGeometry(0, above, width(), kStatusHeight);
  mainView->setGeometry(0, 0, width(), above);
  Page_konfig->setGeometry(0, 0, width(), above);
}

void TForm_nodra::buildConfigurationView() {
  Page_konfig = new QTabWidget(this);
  Page_konfig->setToolTip(qs("Nastavenie NODRA3000"));
  // Built inside the window, each control takes the window's small face as it is made; built apart, every
  // control would be told of the new face when its page is added, and a list box builds its drop-down for it.
  cfg_terminal = new TerminalPage(Page_konfig);
  cfg_SK = new ImportExportPage(Page_konfig);
  cfg_data = new QWidget(Page_konfig);
  tab_xml = new XmlPage(Page_konfig);
  TabSheet2 = new FlashPage(Page_konfig);
  TabSheet1 = new WifiPage(Page_konfig);
  TabSheet3 = new PohodaPage(Page_konfig);
  Page_konfig->addTab(cfg_terminal.unbuilt(), qs("NODRA"));
  Page_konfig->addTab(cfg_SK, qs("IMPORT / EXPORT"));
  Page_konfig->addTab(cfg_data, qs("DATA"));
  Page_konfig->addTab(tab_xml, qs("XML"));
  Page_konfig->addTab(TabSheet2.unbuilt(), qs("FLASH"));
  Page_konfig->addTab(TabSheet1.unbuilt(), qs("WIFI"));
  Page_konfig->addTab(TabSheet3.unbuilt(), qs("POHODA "));
  cfg_terminal.unbuilt()->onBuilt = [this] { connectTerminalPage(); };
  TabSheet2.unbuilt()->onBuilt = [this] { connectFlashPage(); };
  TabSheet1.unbuilt()->onBuilt = [this] { connectWifiPage(); };
  TabSheet3.unbuilt()->onBuilt = [this] { connectPohodaPage(); };
  // The bold face after the tabs: the hidden bar then measures its tabs once, when it is first shown, and a
  // batch run never loads the face.
  QFont tabFont = Page_konfig->tabBar()->font();
  tabFont.setBold(true);
  Page_konfig->tabBar()->setFont(tabFont);
  Page_konfig->tabBar()->setStyleSheet(
      QStringLiteral("QTabBar::tab { color: #000080; } QTabBar::tab:hover { color: #0000ff; }"));
  setPageTabShown(2, false);
  Page_konfig->hide();
}

void TForm_nodra::setPageTabShown(int index, bool shown) {
  Page_konfig->setTabVisible(index, shown);
  // The tab bar's own switch: the page control's would disable the page's controls as well.
  Page_konfig->tabBar()->setTabEnabled(index, shown);
}

void TForm_nodra::setApplicationTitle(const QString& title) {
  applicationTitle_ = title;
  // The task bar of a Linux desktop shows the window's own title; the icon text is the nearest to the
  // application title. The small batch window has no caption of its own to keep, so it shows the title.
  setWindowIconText(title);
  if (batchMode()) setWindowTitle(title);
}

void TForm_nodra::FormCreate() {
  Page_konfig->setCurrentIndex(0);
  shownPage_ = 0;
  std::error_code ec;
  std::filesystem::path folder = options_.programFolder;
  if (folder.empty()) {
    std::string problem;
    folder = findExeFolder(options_.executable, problem).value_or(std::filesystem::path());
    if (folder.empty()) throw std::runtime_error(problem);
  }
  // The start refused a folder whose name has no Windows-1250 form.
  exeFolder = toDisplayText(folder);
  if (exeFolder.empty() || exeFolder.back() != '/') exeFolder.push_back('/');
  localSettingsPath = exeFolder + "nodra3000.ini";
  std::filesystem::path oldSettings = folder / options_.executable.filename();
  oldSettings.replace_extension(".ini");
  if (std::filesystem::exists(oldSettings, ec) && !std::filesystem::exists(toFsPath(localSettingsPath), ec)) {
    std::filesystem::rename(oldSettings, toFsPath(localSettingsPath), ec);
  }
  LoadLocalSettings();
  runMinimized_ = false;
  if (batchMode()) runBatch();
}

ExitCode TForm_nodra::exitCode() const {
  if (usageShown_) return ExitCode::Usage;
  switch (ui_->worstOutcome()) {
    case Outcome::NoTerminal: return ExitCode::NoTerminal;
    case Outcome::Failure: return ExitCode::Failure;
    case Outcome::Info: break;
  }
  return ExitCode::Ok;
}

void TForm_nodra::closeEvent(QCloseEvent* event) {
  // The close stops at its first failure, told once: the window stays as it was and the second save does not
  // run. A batch run ends all the same, as it never enters the event loop.
  if (!CommitLocalSettings()) {
    event->ignore();
    return;
  }
  if (!Page_konfig->isHidden()) {
    Page_konfig->hide();
    LoadLocalSettings();
    for (QPushButton* b : {Btn_vyc_karty, Btn_napln_sklad, Btn_konfiguracia}) b->show();
    // Focus went with the pages; it comes back to the first command, not to the hidden tab row.
    Btn_vyc_karty->setFocus();
    event->ignore();
    return;
  }
  CommitLocalSettings();
  event->accept();
}

void TForm_nodra::reportFailure(const std::string& text, std::string_view caption) {
  ui_->message(failureMessage(text, caption, Icon::Error));
}

void TForm_nodra::Btn_konfiguraciaClick() {
  configReady = 0;
  // Values read before this opening may be another terminal's.
  pageValuesFrom_.clear();
  if (session_.check()) ReadTerminalSettings();
  repaint();
  for (LazyPage* page : {static_cast<LazyPage*>(cfg_terminal.unbuilt()), static_cast<LazyPage*>(TabSheet2.unbuilt()),
                         static_cast<LazyPage*>(TabSheet1.unbuilt()), static_cast<LazyPage*>(TabSheet3.unbuilt())}) {
    page->ensureBuilt();
  }
  Page_konfig->show();
  Page_konfig->raise();
  for (QPushButton* b : {Btn_vyc_karty, Btn_napln_sklad, Btn_konfiguracia}) b->hide();
  cfg_terminal->Edit_usbhdd->setText(session_.drive ? qs(session_.drive->displayPath("CONFIG\\")) : QString());
  configReady = 1;
}

void TForm_nodra::connectHandlers() {
  connectMainView();
  connectImportExportPage();
  connectLayoutEditor();
  connectXmlPage();
}

void TForm_nodra::connectMainView() {
  connect(Btn_vyc_karty, &QPushButton::clicked, this, &TForm_nodra::Btn_vyc_kartyClick);
  connect(Btn_napln_sklad, &QPushButton::clicked, this, &TForm_nodra::Btn_napln_skladClick);
  connect(Btn_konfiguracia, &QPushButton::clicked, this, &TForm_nodra::Btn_konfiguraciaClick);
  connect(Btn_nenul_karty, &QPushButton::clicked, this, &TForm_nodra::Btn_nenul_kartyClick);
  connect(Btn_vyc_zost, &QPushButton::clicked, this, &TForm_nodra::Btn_vyc_zostClick);
  connect(Btn_nul_sklad, &QPushButton::clicked, this, &TForm_nodra::Btn_nul_skladClick);
  connect(Btn_nul_zost, &QPushButton::clicked, this, &TForm_nodra::Btn_nul_zostClick);
  connect(Btn_nul_skladVP, &QPushButton::clicked, this, &TForm_nodra::Btn_nul_skladVPClick);
  connect(Btn_nul_hlSklad, &QPushButton::clicked, this, &TForm_nodra::Btn_nul_hlSkladClick);
  connect(Page_konfig, &QTabWidget::currentChanged, this, &TForm_nodra::Page_konfigChange);
}

void TForm_nodra::Page_konfigChange(int index) {
  if (shownPage_ == 1 && index != 1) cfg_SKHide();
  shownPage_ = index;
  CommitLocalSettings();
  if (index == 1) cfg_SKShow();
  if (Page_konfig->widget(index) == TabSheet2.unbuilt()) TabSheet2Show();
  if (Page_konfig->widget(index) == TabSheet1.unbuilt()) TabSheet1Show();
}

}  // namespace nodra
