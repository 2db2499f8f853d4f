#pragma once
// The program's one window and the owner of its state: the main view, the configuration pages, the status
// bar and gauge, and every control's handler. The pages show settings and give back what their controls hold;
// the handlers call the Qt-free code of the subsystem with it and show the outcome. The handlers are split by
// page into the form_nodra_*_page.cpp files, the commands and the batch run into their own.
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/form_texts.h"
#include "app/form_ui.h"
#include "app/pages/flash_page.h"
#include "app/pages/import_export_page.h"
#include "app/pages/lazy_page.h"
#include "app/pages/pohoda_page.h"
#include "app/pages/terminal_page.h"
#include "app/pages/wifi_page.h"
#include "app/pages/xml_page.h"
#include "app/status_gauge.h"
#include "app/terminal_monitor.h"
#include "app/terminal_picture.h"
#include "platform/volumes.h"
#include "settings/local_settings.h"
#include "terminal/terminal_session.h"
#include "terminal/terminal_settings.h"

namespace nodra {

struct StartOptions {
  std::filesystem::path executable;  // the program's own path
  // The program's folder as the start found it; empty: found again by the window (tests).
  std::filesystem::path programFolder;
  QStringList arguments;          // without the program itself
  bool headless = false;          // no window is ever shown; messages go to standard error
  RunSummary* summary = nullptr;  // a batch run's summary for scripts, when one was asked for
};

enum class ExitCode : int { Ok = 0, Failure = 1, Usage = 2, NoTerminal = 3, AlreadyRunning = 4 };

class TForm_nodra : public QWidget {
 public:
  explicit TForm_nodra(StartOptions options, std::unique_ptr<VolumeSource> volumes = makeVolumeSource());
  ~TForm_nodra() override;

  // Window creation: paths, settings, and in batch mode the whole command.
  void FormCreate();
  bool runMinimized() const { return runMinimized_; }
  bool batchMode() const { return !options_.arguments.isEmpty(); }
  ExitCode exitCode() const;

  FormUi& ui() { return *ui_; }
  TerminalSession& session() { return session_; }

  // File dialogs go through here so tests can answer them. Returns the chosen path or nothing on cancel.
  using FileChooser = std::function<std::optional<QString>(const QString& title, const QString& filter,
                                                           const QString& preset, bool mustExist)>;
  void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
  using FolderChooser = std::function<std::optional<QString>(const QString& title, const QString& preset)>;
  void setFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }

  // --- Main view ---
  QWidget* mainView;
  TerminalPicture* Image1;
  QPushButton* Btn_vyc_karty;
  QPushButton* Btn_napln_sklad;
  QPushButton* Btn_konfiguracia;
  QPushButton* Btn_nenul_karty;
  QPushButton* Btn_vyc_zost;
  QPushButton* Btn_nul_sklad;
  QPushButton* Btn_nul_zost;
  QPushButton* Btn_nul_skladVP;
  QPushButton* Btn_nul_hlSklad;
  QWidget* StatusBar1;
  QLabel* statusPanel0;
  QLabel* statusPanel1;
  StatusGauge* Bar;

  // --- Configuration view ---
  // The pages that the settings file fills are made with the window; the others when first used.
  QTabWidget* Page_konfig;
  PageHandle<TerminalPage> cfg_terminal;
  ImportExportPage* cfg_SK;
  QWidget* cfg_data;
  XmlPage* tab_xml;
  PageHandle<FlashPage> TabSheet2;
  PageHandle<WifiPage> TabSheet1;
  PageHandle<PohodaPage> TabSheet3;

  // --- State ---
  std::string exeFolder;  // Windows-1250, ends with "/"
  std::string localSettingsPath;
  LocalSettings settings;  // zeros and empty texts until the first LoadLocalSettings
  TerminalSettings terminalSettings;
  int configReady = 0;
  bool nonZeroOnly = false;
  unsigned runningItemCounter = 0;

  // --- Main view commands ---
  void Btn_konfiguraciaClick();
  void Btn_vyc_kartyClick();
  void Btn_nenul_kartyClick();
  void Btn_vyc_zostClick();
  void Btn_napln_skladClick();
  void Btn_nul_skladClick();
  void Btn_nul_zostClick();
  void Btn_nul_skladVPClick();
  void Btn_nul_hlSkladClick();
  void ClearTerminalStores(int clearSklad, int clearZost, int clearSkladVP);

  // --- Terminal settings (NODRA page) ---
  void ReadTerminalSettings();
  void WriteTerminalSettings(int clearSklad, int clearZost, int clearSkladVP);
  void CB_pocetChange(int entry);
  void CB_cenaChange(int entry);
  void CB_signChange(int entry);
  void CB_kodvaha_zacChange(int entry);
  void CB_kodvaha_endChange(int entry);
  void CB_vahazacChange(int entry);
  void CB_vahaendChange(int entry);
  void CB_pdmvahaChange(int entry);
  void Edit_autoKeyPress(int key);
  void Edit_autoChange();
  void ChBox_kartonClick();
  void ChBox_sumarClick();
  void ChBox_zmen_cenuClick();
  void CheckBox1Click();
  void ChBox_vahaClick();
  // A mouse click into any of the three prefix boxes.
  void Edit_idClick();
  void BitBtn_VycKonfigClick();

  // --- Local settings ---
  void LoadLocalSettings();
  // False when the file could not be written (the error was shown; the keys before the failing one stay).
  bool SaveLocalSettings();
  // False when a box did not hold a whole number (the error was shown, nothing written) or the save failed.
  bool CommitLocalSettings();
  void RefreshLayoutControls();
  // The settings with the field orders as the lists hold them now, as the commands and the save take them.
  LocalSettings settingsAsControlsHoldThem() const;

  // --- IMPORT / EXPORT page ---
  void cfg_SKShow();
  void cfg_SKHide();
  void ChBox_odd_ISKClick();
  void ChBox_casio1_ISKClick();
  void ChBox_pevna_dl_ISKClick();
  void ChBox_old_ISKClick();
  void Edit_odd_ISKChange();
  void Edit_odd_OSKChange();
  void ChBox_kodovanieClick();
  void ChBox_ignorovatClick();
  void ChBox_diakritikaClick();
  void UpDown_archiv_pocetChange(int count);
  void Btn_archivClick();
  void RG_OSKClick(int item);
  void RadioButton1Click();
  void RadioButton2Click();
  void Btn_in_kartyClick();
  void Btn_skontrolujClick();
  void Btn_out_vsetkyClick();
  void Btn_out_nenulClick();
  void Btn_prijemkyClick();
  void Btn_skladVPClick();

  // --- Input layout editor (fixed-length spans on a sample line) ---
  void Btn_cfg_nacitajClick();
  void RE_vstupMouseDown();
  void UpDown_inClick();
  // False when the selection overlaps marked spans (the warning was shown and the menu keeps its state).
  bool PopupMenu1Popup();
  void Kodtovaru1Click();
  void Cena1Click();
  void Pocet1Click();
  void Nazovtovaru1Click();
  void Reset1Click();
  std::array<bool, 4> fieldMarked{};  // code, price, count, name

  // --- XML page ---
  void RadioButton3Click();
  void RadioButton4Click();
  void Btn_cestaXMLoutClick();
  void Button1Click();

  // --- FLASH page ---
  void TabSheet2Show();
  void Button21Click();
  void BitBtn_naplnClick();

  // --- WIFI page ---
  void TabSheet1Show();
  void BitBtn_cfg_wifiClick();
  void RG_wifi_secClick(int entry);
  void PageControl_securityChange(int page);

  // --- POHODA page ---
  void Button3Click();
  void Button2Click();
  void Button4Click() {}

  // The application title (the task-bar caption): "NODRA3000", or the running count during a read-out.
  const QString& applicationTitle() const { return applicationTitle_; }
  // Shows an error that ends a command or a handler, and counts it as a failure. The box is captioned with
  // the program's name (or `caption`), never with the application title, which may be a running count.
  void reportFailure(const std::string& text, std::string_view caption = kProgramName);
  void setApplicationTitle(const QString& title);
  // Shows or hides a page's tab. A hidden tab is also out of reach of the keys and the wheel that step
  // through the tabs, which pass over hidden tabs only when they are disabled too.
  void setPageTabShown(int index, bool shown);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static constexpr int kClientWidth = 370;
  static constexpr int kClientHeight = 538;
  static constexpr int kStatusHeight = 17;

  void buildMainView();
  void buildConfigurationView();
  void placeBars();
  void connectHandlers();
  void connectMainView();
  void connectTerminalPage();
  void connectImportExportPage();
  void connectLayoutEditor();
  void connectXmlPage();
  void connectFlashPage();
  void connectWifiPage();
  void connectPohodaPage();
  void Page_konfigChange(int index);
  // Batch mode: the small window, the command of the first argument, the close.
  void runBatch();
  // The small batch window: at the screen's top left corner, `outerHeight` pixels high with its title bar.
  void fitBatchWindow(int outerHeight);
  // Until the window manager has framed the shown window (at most two seconds), taking no input.
  void waitForWindowFrame();
  void showUsage();
  // A write of the terminal settings from a change on the NODRA page; `reapply` repeats the user's change
  // after a first read when the page never held the terminal's values.
  void writeFromTerminalPage(const std::function<void()>& reapply);
  // A check box of the NODRA page: `apply` takes its tick into the settings, then the write.
  void tickChanged(QCheckBox* box, const std::function<void(bool)>& apply);
  void weighedCodeListChanged(QComboBox* box, int entry);
  // The terminal's CONFIG folder for the wireless settings; a message in `wording` and nothing when missing.
  std::optional<FilePlace> wifiFileOrTell(const char* wording);
  void layoutBoxClicked(QCheckBox* box, bool& flag);
  void chooseReadOutMode(int mode);
  void markField(std::size_t field);
  void choosePath(QLineEdit* edit, std::string* member);
  void chooseFolderPath(QLineEdit* edit, std::string* member);
  void takeChosenPath(const std::optional<QString>& chosen, QLineEdit* edit, std::string* member);
  // Stores a path typed into a box; false (and a message) when it has no Windows-1250 form.
  bool takePath(QLineEdit* edit, std::string& member);

  StartOptions options_;
  std::unique_ptr<VolumeSource> volumes_;
  std::unique_ptr<FormUi> ui_;
  TerminalSession session_;
  // The window's own follow-up of the terminal between commands; none in a batch run.
  std::unique_ptr<TerminalMonitor> monitor_;
  FileChooser chooseFile_;
  FolderChooser chooseFolder_;
  QString applicationTitle_;
  bool runMinimized_ = false;
  bool usageShown_ = false;
  // The card whose values the NODRA page holds, read in this opening of the configuration view; empty when
  // none: the next write then reads the file first.
  std::string pageValuesFrom_;
  int shownPage_ = 0;
  bool dialogsStartInWorkingFolder_ = false;
  std::vector<std::shared_ptr<void>> loadedDocuments_;
};

}  // namespace nodra
