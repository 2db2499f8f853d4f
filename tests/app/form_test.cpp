// The window, driven offscreen: the views, the NODRA page's reads and writes, the local settings controls.
#include <sys/stat.h>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>
#include <fstream>
#include <set>
#include <vector>

#include "app/form_nodra.h"
#include "app/qt_text.h"
#include "app/qt_translation.h"
#include "app/terminal_picture.h"
#include "support/temp_folder.h"

using namespace nodra;
using nodra::testing::namesIn;
using nodra::testing::readFile;
using nodra::testing::TempFolder;
using nodra::testing::writeFile;

namespace {
const char* kTerminalIni =
    "[GLOBAL]\r\nPDM_PRICE=2\r\nPDM_COUNT=3\r\nSIGN=0\r\nVERSION=1.2345\r\nK_1=27\r\nAUTO=1.5\r\nSKLAD=36\r\n"
    "SHOW_SUM=0\r\nBEEP=1\r\n";
}

class FormTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempFolder> dir;
  std::vector<Message> messages;
  std::vector<Answer> answers;

  std::filesystem::path home() const { return dir->path() / "home"; }
  std::filesystem::path terminal() const { return dir->path() / "NODRA"; }
  std::filesystem::path terminalIni() const { return terminal() / "CONFIG" / "NODRA3000.ini"; }

  std::unique_ptr<TForm_nodra> makeForm(QStringList arguments = {}, bool headless = true) {
    StartOptions options;
    options.executable = dir->path() / "bin" / "nodra_mmc_trm";
    options.arguments = std::move(arguments);
    options.headless = headless;
    auto form = std::make_unique<TForm_nodra>(options);
    form->FormCreate();
    return form;
  }

 private slots:
  void init() {
    dir = std::make_unique<TempFolder>();
    std::filesystem::create_directories(home());
    qputenv("NODRA3000_HOME", QByteArray::fromStdString(home().string()));
    qputenv("NODRA3000_DRIVES", QByteArray::fromStdString(terminal().string()));
    messages.clear();
    answers.clear();
    FormUi::setResponder([this](const Message& m) {
      messages.push_back(m);
      if (answers.empty()) return m.defaultAnswer;
      Answer a = answers.front();
      answers.erase(answers.begin());
      return a;
    });
  }

  void cleanup() {
    FormUi::setResponder(nullptr);
    dir.reset();
  }

  // With Qt's Slovak translation installed, Qt's own buttons and dialogs speak Slovak too.
  void qtsOwnTextsAreSlovak() {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_sk.qm"))) {
      QSKIP("Qt's Slovak translation (qt6-translations-l10n) is not installed");
    }
    QTranslator* slovak = installQtSlovak(*qApp);
    QVERIFY(slovak != nullptr);
    auto shown = [](QAbstractButton* b) { return b ? b->text().remove(QLatin1Char('&')) : QString(); };
    QMessageBox box(QMessageBox::Warning, qs("Pozor..."), qs("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(shown(box.button(QMessageBox::Yes)), qs("Áno"));
    QCOMPARE(shown(box.button(QMessageBox::No)), qs("Nie"));
    QCOMPARE(shown(box.button(QMessageBox::Cancel)), qs("Zrušiť"));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons != nullptr);
    QCOMPARE(shown(buttons->button(QDialogButtonBox::Open)), qs("Otvoriť"));
    QCoreApplication::removeTranslator(slovak);
    delete slovak;
  }

  void startsInTheMainViewWithTheConfiguredPages() {
    auto form = makeForm();
    QVERIFY(form->Page_konfig->isHidden());
    QVERIFY(!form->Btn_vyc_karty->isHidden());
    QVERIFY(!form->Btn_konfiguracia->isHidden());
    QVERIFY(form->Btn_nul_sklad->isHidden());
    QVERIFY(form->Bar->isHidden());
    QCOMPARE(form->statusPanel1->text(), QString());
    QCOMPARE(form->windowTitle(), qs(" NODRA3000 1.203"));
    const QStringList expected{qs("NODRA"), qs("IMPORT / EXPORT"), qs("DATA"), qs("XML"), qs("FLASH"),
                               qs("WIFI"),  qs("POHODA ")};
    QStringList captions;
    for (int i = 0; i < form->Page_konfig->count(); ++i) captions << form->Page_konfig->tabText(i);
    QCOMPARE(captions, expected);
    for (int hidden : {2, 5, 6}) QVERIFY(!form->Page_konfig->isTabVisible(hidden));
    QCOMPARE(form->Page_konfig->currentIndex(), 0);
    QVERIFY(messages.empty());
  }

  // DATA, WIFI and POHODA stay out of reach of every key and of the wheel over the tab row; the shown pages
  // are all reached.
  void hiddenPagesAreUnreachableFromKeysAndWheel() {
    writeFile(terminalIni(), kTerminalIni);
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->Btn_konfiguracia->click();
    QTabWidget* pages = form->Page_konfig;
    QTabBar* bar = pages->tabBar();
    std::set<int> reached{pages->currentIndex()};
    auto note = [&] {
      reached.insert(pages->currentIndex());
      QVERIFY2(pages->isTabVisible(pages->currentIndex()), qPrintable(pages->tabText(pages->currentIndex())));
    };
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Tab, Qt::ControlModifier},      {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_PageDown, Qt::ControlModifier}, {Qt::Key_PageUp, Qt::ControlModifier},
        {Qt::Key_Right, Qt::NoModifier},         {Qt::Key_Left, Qt::NoModifier}};
    for (const auto& [key, modifiers] : keys) {
      for (int i = 0; i < 8; ++i) {
        QWidget* target = key == Qt::Key_Right || key == Qt::Key_Left ? bar : QApplication::focusWidget();
        QTest::keyClick(target ? target : pages, key, modifiers);
        note();
      }
    }
    for (int delta : {-120, 120}) {
      for (int i = 0; i < 8; ++i) {
        const QPointF at(bar->tabRect(pages->currentIndex()).center());
        QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
        note();
      }
    }
    QCOMPARE(reached, (std::set<int>{0, 1, 3, 4}));
  }

  // Focus starts on the first command and Tab follows the main view's reading order, also after a return
  // from the configuration.
  void theMainViewIsWorkedFromTheKeyboardInReadingOrder() {
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    for (int round = 0; round < 2; ++round) {
      QCOMPARE(QApplication::focusWidget(), form->Btn_vyc_karty);
      for (QPushButton* next : {form->Btn_napln_sklad, form->Btn_konfiguracia, form->Btn_vyc_karty}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
      }
      form->Btn_konfiguracia->click();
      QCloseEvent back;
      QApplication::sendEvent(form.get(), &back);
    }
  }

  // The interactive window has no gauge, and the status bar sits on the bottom edge with both panels whole.
  void theStatusBarClosesTheInteractiveWindow() {
    auto form = makeForm();
    QVERIFY(form->Bar->isHidden());
    QCOMPARE(form->StatusBar1->geometry().bottom(), form->height() - 1);
    QCOMPARE(form->Page_konfig->geometry().bottom() + 1, form->StatusBar1->y());
    QCOMPARE(form->mainView->geometry().bottom() + 1, form->StatusBar1->y());
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(form->statusPanel0->width(), 70);
    QCOMPARE(form->statusPanel1->width(), 300);
    QVERIFY(form->statusPanel1->geometry().right() < form->StatusBar1->width());
  }

  // The small batch window: its frame at the top left corner, as high as the command asks, the status bar
  // always whole and the gauge either whole or not shown.
  void theBatchWindowSitsTopLeftWithItsStatusBarWhole() {
    writeFile(terminalIni(), kTerminalIni);
    const struct {
      const char* letter;
      int outerHeight;
    } cases[] = {{"V", 60}, {"N", 60}, {"P", 40}, {"z", 40}};
    for (const auto& c : cases) {
      auto form = makeForm({QString::fromLatin1(c.letter), QStringLiteral("na")}, false);
      const QString label = QString::fromLatin1(c.letter);
      QVERIFY2(form->isHidden(), qPrintable(label));  // closed when the command returned
      QCOMPARE(form->frameGeometry().topLeft(), QPoint(0, 0));
      QCOMPARE(form->frameGeometry().height(), c.outerHeight);  // offscreen windows have no frame
      QCOMPARE(form->width(), 370);
      QVERIFY2(!form->StatusBar1->isHidden(), qPrintable(label));
      QVERIFY2(form->rect().contains(form->StatusBar1->geometry()), qPrintable(label));
      QVERIFY2(form->Bar->isHidden() || form->rect().contains(form->Bar->geometry()), qPrintable(label));
      QVERIFY2(form->Bar->isHidden() || form->Bar->y() == form->StatusBar1->geometry().bottom() + 1, qPrintable(label));
      QVERIFY2(form->Btn_vyc_karty->isHidden() && form->Image1->isHidden(), qPrintable(label));
    }
  }

  // The FLASH page's instructions stand in the middle of their box.
  void theFlashInstructionsAreCentred() {
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->Page_konfig->show();
    form->Page_konfig->setCurrentWidget(form->TabSheet2);
    QApplication::processEvents();
    const QImage memo = form->TabSheet2->Memo1->grab().toImage();
    const QColor paper = memo.pixelColor(0, 0);
    int left = memo.width(), right = -1;
    for (int y = 0; y < memo.height(); ++y) {
      for (int x = 0; x < memo.width(); ++x) {
        if (memo.pixelColor(x, y) != paper) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    QVERIFY(right > left);
    QVERIFY2(std::abs(left - (memo.width() - 1 - right)) <= 2,
             qPrintable(QStringLiteral("%1 %2").arg(left).arg(right)));
  }

  // Disabled controls, their labels included, are drawn in the disabled colour, not in the live maroon.
  void disabledLabelsLookDisabled() {
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->Page_konfig->show();
    form->Page_konfig->setCurrentWidget(form->cfg_SK);
    QApplication::processEvents();
    auto maroonPixels = [](QWidget* w) {
      const QImage image = w->grab().toImage();
      int n = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          const QColor c = image.pixelColor(x, y);
          if (c.red() > 90 && c.green() < 40 && c.blue() < 40) ++n;
        }
      }
      return n;
    };
    QVERIFY(!form->cfg_SK->Label9->isEnabled());  // the raw copy folder, in the default formatted mode
    QVERIFY(form->cfg_SK->Label4->isEnabled());
    QVERIFY(maroonPixels(form->cfg_SK->Label4) > 0);
    QCOMPARE(maroonPixels(form->cfg_SK->Label9), 0);
  }

  // Ticking "Váhový kód" shows its group in the room kept for it: nothing else on the page moves.
  void theNodraPageKeepsItsPlaceWhenTheWeighedCodeGroupShows() {
    writeFile(terminalIni(), kTerminalIni);
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->Btn_konfiguracia->click();
    TerminalPage* nodra = form->cfg_terminal;
    QApplication::processEvents();
    std::vector<std::pair<QWidget*, QRect>> before;
    for (QWidget* w : nodra->findChildren<QWidget*>()) {
      if (w->isVisible()) before.emplace_back(w, w->geometry());
    }
    nodra->ChBox_vaha->setChecked(true);
    QApplication::processEvents();
    QVERIFY(!nodra->GroupBox_vaha->isHidden());
    for (const auto& [w, place] : before) QCOMPARE(w->geometry(), place);
  }

  // At the window's fixed size every caption on the shown pages is whole and inside its page, also with the
  // weighed-code group shown.
  void everyCaptionIsWholeOnTheShownPages() {
    writeFile(terminalIni(), kTerminalIni);
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->Btn_konfiguracia->click();
    form->cfg_terminal->ChBox_vaha->setChecked(true);
    for (QWidget* page : {static_cast<QWidget*>(form->cfg_terminal), static_cast<QWidget*>(form->cfg_SK),
                          static_cast<QWidget*>(form->tab_xml), static_cast<QWidget*>(form->TabSheet2)}) {
      form->Page_konfig->setCurrentWidget(page);
      QApplication::processEvents();
      for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        const QString name = form->Page_konfig->tabText(form->Page_konfig->currentIndex()) + QLatin1Char('/') +
                             QString::fromLatin1(w->metaObject()->className());
        const QRect onPage(w->mapTo(page, QPoint(0, 0)), w->size());
        QVERIFY2(page->rect().contains(onPage), qPrintable(name));
        int needed = 0;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap()) {
          needed = label->sizeHint().width();
          text = label->text();
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
          needed = box->sizeHint().width();
          text = box->currentText();
        } else if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->hasHeightForWidth()) {
          needed = qobject_cast<QPushButton*>(w) ? w->fontMetrics().horizontalAdvance(button->text()) + 6
                                                 : button->sizeHint().width();
          text = button->text();
        }
        QVERIFY2(w->width() >= needed,
                 qPrintable(QStringLiteral("%1 \"%2\": %3 < %4").arg(name, text).arg(w->width()).arg(needed)));
      }
    }
  }

  // The terminal picture is painted for the screen's scale, not enlarged from a one-to-one bitmap.
  void theTerminalPictureIsSharpOnAScaledScreen() {
    auto form = makeForm();
    QImage scaled(form->Image1->size() * 2, QImage::Format_ARGB32_Premultiplied);
    scaled.setDevicePixelRatio(2);
    scaled.fill(Qt::transparent);
    form->Image1->render(&scaled, QPoint(), QRegion(), QWidget::DrawChildren);
    const QImage direct = drawTerminalPicture(form->Image1->width(), form->Image1->height(), 2)
                              .toImage()
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(scaled.size(), direct.size());
    int differing = 0;
    for (int y = 0; y < direct.height(); ++y) {
      for (int x = 0; x < direct.width(); ++x) differing += scaled.pixel(x, y) != direct.pixel(x, y);
    }
    QVERIFY2(differing < direct.width() * direct.height() / 200, qPrintable(QString::number(differing)));
  }

  void openingTheConfigurationReadsTheTerminalWithoutWritingIt() {
    writeFile(terminalIni(), kTerminalIni);
    auto form = makeForm();
    form->Btn_konfiguracia->click();
    QVERIFY(!form->Page_konfig->isHidden());
    QVERIFY(form->Btn_vyc_karty->isHidden());
    QCOMPARE(form->statusPanel0->text(), qs("NODRA"));
    QCOMPARE(form->statusPanel1->text(), qs("Konfigurácia vyčítaná"));
    TerminalPage* p = form->cfg_terminal;
    QCOMPARE(p->CB_pocet->currentIndex(), 3);
    QCOMPARE(p->CB_sign->currentText(), qs("-"));
    QCOMPARE(p->Label_ver->text(), qs("1.234"));
    QCOMPARE(p->Edit_id1->text(), qs("27"));
    QCOMPARE(p->Edit_auto->text(), qs("1.5"));
    QCOMPARE(p->Poc_kariet->text(), qs("36"));
    QVERIFY(!p->ChBox_sumar->isChecked());
    QVERIFY(p->CheckBox1->isChecked());
    QCOMPARE(readFile(terminalIni()), std::string(kTerminalIni));
  }

  void aChangeOnTheTerminalPageWritesTheWholeFileAndWithdrawsClearRequests() {
    writeFile(terminalIni(), std::string(kTerminalIni) + "CLEAR_ZOST=1\r\n");
    auto form = makeForm();
    form->Btn_konfiguracia->click();
    emit form->cfg_terminal->CB_sign->activated(1);
    std::string after = readFile(terminalIni());
    QVERIFY(after.find("SIGN=1\r\n") != std::string::npos);
    QVERIFY(after.find("CLEAR_ZOST=0\r\n") != std::string::npos);
    QVERIFY(after.find("K_1=27\r\n") != std::string::npos);
    QVERIFY(after.find("BEEP=1\r\n") != std::string::npos);
    QCOMPARE(form->statusPanel1->text(), qs("Konfigurácia zapísaná"));

    form->cfg_terminal->ChBox_karton->setChecked(true);
    after = readFile(terminalIni());
    QVERIFY(after.find("KARTON=1\r\n") != std::string::npos);
    QVERIFY(after.find("PDM_PRICE=0\r\n") != std::string::npos);
    QVERIFY(!form->cfg_terminal->CB_cena->isEnabled());
  }

  // The page's own write replaces the file; what it holds is still this terminal's, so the next change does
  // not read the file over the page again.
  void aWriteOfThePageKeepsThePageAsItIs() {
    writeFile(terminalIni(), kTerminalIni);
    auto form = makeForm();
    form->Btn_konfiguracia->click();
    for (int i = 0; i < 4; ++i) {
      emit form->cfg_terminal->CB_sign->activated(i % 2);
      // Written in place, keeping the file's identity: only a new reading of the file would bring it back.
      std::string file = readFile(terminalIni());
      const auto at = file.find("AUTO=1.5\r\n");
      QVERIFY(at != std::string::npos);
      file.replace(at, 10, "AUTO=7.7\r\n");
      std::ofstream(terminalIni(), std::ios::binary | std::ios::in | std::ios::out) << file;
    }
    emit form->cfg_terminal->CB_sign->activated(1);
    QVERIFY(readFile(terminalIni()).find("AUTO=1.5\r\n") != std::string::npos);
    QCOMPARE(form->cfg_terminal->Edit_auto->text(), qs("1.5"));
  }

  // The box lets seven characters be typed, but shows and writes back the terminal's value of up to ten.
  void theAutoQuantityKeepsTenCharactersWhileTypingStopsAtSeven() {
    std::string ini = kTerminalIni;
    ini.replace(ini.find("AUTO=1.5"), 8, "AUTO=1.23456789");
    writeFile(terminalIni(), ini);
    auto form = makeForm();
    form->Btn_konfiguracia->click();
    QLineEdit* box = form->cfg_terminal->Edit_auto;
    QCOMPARE(box->text(), qs("1.23456789"));
    emit form->cfg_terminal->CB_sign->activated(1);
    QVERIFY(readFile(terminalIni()).find("AUTO=1.23456789\r\n") != std::string::npos);

    box->end(false);
    QTest::keyClick(box, Qt::Key_5);
    QCOMPARE(box->text(), qs("1.23456789"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), qs("1.2345678"));
    QVERIFY(readFile(terminalIni()).find("AUTO=1.2345678\r\n") != std::string::npos);
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("123456789"));
    QCOMPARE(box->text(), qs("1234567"));
    QVERIFY(readFile(terminalIni()).find("AUTO=1234567\r\n") != std::string::npos);
  }

  // Only typed (or pasted) characters other than digits and "." are kept out; focus keys and the editing
  // shortcuts work.
  void theAutoQuantityFiltersCharactersNotKeys() {
    writeFile(terminalIni(), kTerminalIni);
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->Btn_konfiguracia->click();
    QLineEdit* box = form->cfg_terminal->Edit_auto;
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(box->selectedText(), qs("1.5"));
    QTest::keyClicks(box, QStringLiteral("x1,2.5"));
    QCOMPARE(box->text(), qs("12.5"));
    QGuiApplication::clipboard()->setText(QStringLiteral("a3 b4"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), qs("12.534"));
    QVERIFY(readFile(terminalIni()).find("AUTO=12.534\r\n") != std::string::npos);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), qs("2.534"));

    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form->cfg_terminal->CB_sign);
    QTest::keyClick(form->cfg_terminal->CB_sign, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), box);
  }

  void aPageOpenedWithoutTerminalReadsTheFileBeforeItsFirstWrite() {
    auto form = makeForm();
    form->Btn_konfiguracia->click();
    QCOMPARE(messages.size(), std::size_t{1});
    QCOMPARE(messages[0].caption, std::string("NODRA nepripojená."));
    QCOMPARE(form->statusPanel1->text(), qs("NODRA nepripojený"));
    QVERIFY(!form->Page_konfig->isHidden());

    writeFile(terminalIni(), kTerminalIni);
    emit form->cfg_terminal->CB_sign->activated(1);
    const std::string after = readFile(terminalIni());
    QVERIFY(after.find("SIGN=1\r\n") != std::string::npos);
    // Values the page never showed come from the terminal's file, not from blank members.
    QVERIFY(after.find("PDM_COUNT=3\r\n") != std::string::npos);
    QVERIFY(after.find("K_1=27\r\n") != std::string::npos);
    QVERIFY(after.find("AUTO=1.5\r\n") != std::string::npos);
    QVERIFY(after.find("SHOW_SUM=0\r\n") != std::string::npos);
  }

  // The page's values belong to the card they were read from in this opening: a terminal read before, or one
  // that was away for a while, never gets them.
  void aWriteNeverCarriesAnotherTerminalsValues() {
    const char* other = "[GLOBAL]\r\nPDM_PRICE=3\r\nKARTON=1\r\nAUTO=9.99\r\nSIGN=0\r\n";
    struct Case {
      const char* label;
      bool awayInBetween;  // a detection that found nothing between the reading and the change
    };
    for (const Case& c : {Case{"opened without a terminal", false}, Case{"the terminal went away", true}}) {
      writeFile(terminalIni(), kTerminalIni);
      auto form = makeForm();
      form->Btn_konfiguracia->click();  // reads the first terminal
      if (!c.awayInBetween) {
        form->close();  // back to the main view
        std::filesystem::remove_all(terminal());
        form->Btn_konfiguracia->click();  // opened with no terminal
      } else {
        std::filesystem::remove_all(terminal());
        emit form->cfg_terminal->CB_cena->activated(1);  // detects nothing
      }
      writeFile(terminalIni(), other);  // another terminal arrives
      emit form->cfg_terminal->CB_sign->activated(1);
      const std::string after = readFile(terminalIni());
      QVERIFY2(after.find("SIGN=1\r\n") != std::string::npos, c.label);
      QVERIFY2(after.find("PDM_PRICE=0\r\n") != std::string::npos, c.label);  // carton mode forces it
      QVERIFY2(after.find("KARTON=1\r\n") != std::string::npos, c.label);
      QVERIFY2(after.find("AUTO=9.99\r\n") != std::string::npos, c.label);
      messages.clear();
    }
  }

  void interactiveClearAllAsksFirstAndNoLeavesEverything() {
    writeFile(terminalIni(), kTerminalIni);
    auto form = makeForm();
    answers = {Answer::No};
    form->Btn_nul_skladClick();
    QCOMPARE(messages.size(), std::size_t{1});
    QCOMPARE(messages[0].buttons, Buttons::YesNo);
    QCOMPARE(messages[0].defaultAnswer, Answer::No);
    QCOMPARE(form->statusPanel0->text(), qs("NODRA"));  // not even looked for
    QCOMPARE(readFile(terminalIni()), std::string(kTerminalIni));

    answers = {Answer::Yes};
    form->Btn_nul_skladClick();
    const std::string after = readFile(terminalIni());
    QVERIFY(after.find("CLEAR_SKLAD=1\r\nCLEAR_ZOST=1\r\nCLEAR_SKLADVP=1\r\n") != std::string::npos);
  }

  void loadSettlesTheExclusiveInputLayoutBoxesInReadingOrder() {
    writeFile(home() / "nodra3000.ini", "[InFormat Pevna_dlzka]\r\nPevna_dl_ISK=1\r\n");
    auto form = makeForm();
    ImportExportPage* p = form->cfg_SK;
    QVERIFY(p->ChBox_odd_ISK->isChecked());
    QVERIFY(!p->ChBox_pevna_dl_ISK->isChecked());
    QVERIFY(form->settings.Odd_ISK);
    QVERIFY(!form->settings.Pevna_dl_ISK);

    p->ChBox_casio1_ISK->setChecked(true);
    QVERIFY(!p->ChBox_odd_ISK->isChecked());
    QVERIFY(!form->settings.Odd_ISK);
    QVERIFY(form->settings.CASIO1_ISK);
    QVERIFY(p->CB_odd_ISK[0]->isHidden());
    p->ChBox_casio1_ISK->setChecked(false);
    QVERIFY(!form->settings.CASIO1_ISK && !form->settings.Odd_ISK && !form->settings.Old_ISK &&
            !form->settings.Pevna_dl_ISK);

    p->ChBox_pevna_dl_ISK->setChecked(true);
    QVERIFY(!p->Btn_cfg_nacitaj->isHidden());
    QVERIFY(!p->RE_vstup->isHidden());
  }

  void outputLayoutAndReadOutModeControls() {
    writeFile(home() / "nodra3000.ini",
              "[OutFormat Pevna_dlzka]\r\nPevna_dl_OSK=1\r\ndlzka2_OSK=11\r\n[OutFormat Oddelovac]\r\nOdd_OSK=0\r\n");
    auto form = makeForm();
    ImportExportPage* p = form->cfg_SK;
    QCOMPARE(p->RG_OSK_items->checkedId(), 1);
    QVERIFY(!form->settings.Odd_OSK);
    QVERIFY(!p->dl_OSK[1]->isHidden());
    QCOMPARE(p->dl_OSK[1]->text(), qs("11"));
    QVERIFY(p->Edit_odd_OSK->isHidden());

    p->RG_OSK_items->button(2)->click();
    QVERIFY(form->settings.CASIO1_OSK && !form->settings.Pevna_dl_OSK);
    QVERIFY(!p->CB_odd_OSK[0]->isEnabled());
    p->RG_OSK_items->button(0)->click();
    QVERIFY(p->CB_odd_OSK[0]->isEnabled());
    QVERIFY(!p->Edit_odd_OSK->isHidden());

    p->RadioButton2->click();
    QCOMPARE(form->settings.formatovatData, 0);
    QVERIFY(!p->Edit_outv->isEnabled() && !p->RG_OSK->isEnabled());
    QVERIFY(p->Edit_skladVP->isEnabled());
    QVERIFY(form->tab_xml->RadioButton4->isChecked());
    form->tab_xml->RadioButton3->click();
    QCOMPARE(form->settings.formatovatData, 2);
    QVERIFY(!p->RadioButton1->isChecked() && !p->RadioButton2->isChecked());
    QVERIFY(!p->Edit_skladVP->isEnabled());
    QVERIFY(form->tab_xml->Edit_XMLout->isEnabled());

    p->Edit_odd_OSK->setText(QString());
    QCOMPARE(form->settings.Odd_Char_OSK, 0);
  }

  // The archive and the kept accents are off until the user sets them; then the page saves them.
  void theArchiveAndAccentControlsLoadAndSaveTheirKeys() {
    const auto ini = home() / "nodra3000.ini";
    writeFile(ini, "[GLOBAL]\r\nuse_tbl=0\r\n");
    auto form = makeForm();
    ImportExportPage* p = form->cfg_SK;
    QCOMPARE(p->Edit_archiv->text(), QString());
    QCOMPARE(p->UpDown_archiv_pocet->value(), 30);
    QVERIFY(!p->ChBox_diakritika->isChecked());
    form->Btn_konfiguracia->click();
    QCloseEvent back;
    QApplication::sendEvent(form.get(), &back);
    for (const char* key : {"path_archiv", "archiv_pocet", "Diakritika"}) {
      QVERIFY2(readFile(ini).find(key) == std::string::npos, key);
    }

    const std::string folder = (home() / "archív").string();
    form->setFolderChooser([&](const QString&, const QString&) { return std::optional<QString>(qs(folder)); });
    form->Btn_konfiguracia->click();
    p->Btn_archiv->click();
    QCOMPARE(p->Edit_archiv->text(), qs(folder));
    p->UpDown_archiv_pocet->setValue(5);
    p->ChBox_diakritika->setChecked(true);
    QCloseEvent again;
    QApplication::sendEvent(form.get(), &again);
    const std::string saved = readFile(ini);
    for (const std::string& line :
         {"path_archiv=" + folder + "\r\n", std::string("archiv_pocet=5\r\n"), std::string("Diakritika=1\r\n")}) {
      QVERIFY2(saved.find(line) != std::string::npos, line.c_str());
    }

    auto reopened = makeForm();
    QCOMPARE(reopened->cfg_SK->Edit_archiv->text(), qs(folder));
    QCOMPARE(reopened->cfg_SK->UpDown_archiv_pocet->value(), 5);
    QVERIFY(reopened->cfg_SK->ChBox_diakritika->isChecked());
  }

  void closingCommitsOrRefusesAndLeavesTheConfigurationFirst() {
    auto form = makeForm();
    const auto ini = home() / "nodra3000.ini";
    form->cfg_SK->pdm1_OSK->setText(qs("dva"));
    QCloseEvent refused;
    QApplication::sendEvent(form.get(), &refused);
    QVERIFY(!refused.isAccepted());
    QCOMPARE(messages.back().text, std::string("'dva' is not a valid integer value"));
    QVERIFY(!std::filesystem::exists(ini));

    form->cfg_SK->pdm1_OSK->setText(qs("3"));
    form->Btn_konfiguracia->click();
    QCloseEvent back;
    QApplication::sendEvent(form.get(), &back);
    QVERIFY(!back.isAccepted());
    QVERIFY(form->Page_konfig->isHidden());
    QVERIFY(!form->Btn_napln_sklad->isHidden());
    QVERIFY(readFile(ini).find("PDM1_OSK=3\r\n") != std::string::npos);
    QCloseEvent end;
    QApplication::sendEvent(form.get(), &end);
    QVERIFY(end.isAccepted());
  }

  // A settings file that cannot be written stops the close at the first save: one message per close, and the
  // window stays in the view it had.
  void aSaveThatCannotWriteStopsTheCloseWithOneMessage() {
    std::filesystem::create_directories(home() / "nodra3000.ini");
    auto form = makeForm();
    for (bool configuration : {false, true}) {
      if (configuration) form->Btn_konfiguracia->click();
      messages.clear();
      QCloseEvent close;
      QApplication::sendEvent(form.get(), &close);
      QVERIFY(!close.isAccepted());
      QCOMPARE(messages.size(), std::size_t{1});
      QVERIFY(messages[0].text.rfind("Unable to write to ", 0) == 0);
      QCOMPARE(messages[0].outcome, Outcome::Failure);
      QCOMPARE(form->Page_konfig->isHidden(), !configuration);
    }
  }

  // While a read-out counts, the application title is the running count; an error box that follows is
  // captioned with the program's name all the same.
  void anErrorBoxIsNeverCaptionedWithTheRunningCount() {
    auto form = makeForm();
    for (unsigned i = 1; i <= 36; ++i) form->ui().progress(i, i);
    form->ui().flush();
    QCOMPARE(form->applicationTitle(), QStringLiteral("36"));
    form->cfg_SK->dl_OSK[2]->setText(qs("8a"));
    QCloseEvent close;
    QApplication::sendEvent(form.get(), &close);
    QCOMPARE(messages.size(), std::size_t{1});
    QCOMPARE(messages[0].text, std::string("'8a' is not a valid integer value"));
    QCOMPARE(messages[0].caption, std::string("NODRA3000"));
  }

  // Between commands the window follows the terminal: its card gaining or losing the settings file shows in
  // the status bar within two seconds, with no box.
  void theStatusBarFollowsTheTerminalComingAndGoing() {
    const std::filesystem::path card = dir->path() / "KARTA";
    const std::filesystem::path ini = card / "CONFIG" / "NODRA3000.ini";
    qputenv("NODRA3000_DRIVES", QByteArray::fromStdString(card.string()));
    auto form = makeForm({}, false);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(300);  // what is there at the start is no change
    QCOMPARE(form->statusPanel1->text(), QString());
    writeFile(ini, kTerminalIni);
    QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel1->text(), qs("NODRA pripojený"), 2000);
    QCOMPARE(form->statusPanel0->text(), qs("KARTA"));
    std::filesystem::remove(ini);
    QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel1->text(), qs("NODRA nepripojený"), 2000);
    QCOMPARE(form->statusPanel0->text(), qs("NODRA"));
    QVERIFY(messages.empty());
  }

  // While a command's box is open nothing is detected behind it; the change shows once the command is over.
  void theStatusBarWaitsForTheCommandToEnd() {
    auto form = makeForm({}, false);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(300);
    QStringList statusDuringTheBox;
    FormUi::setResponder([&](const Message& m) {
      messages.push_back(m);
      writeFile(terminalIni(), kTerminalIni);  // the terminal arrives while the box is open
      QTest::qWait(2 * TerminalMonitor::kPollMs + 500);
      statusDuringTheBox << form->statusPanel1->text();
      return m.defaultAnswer;
    });
    form->Btn_vyc_karty->click();  // no terminal yet: the not-connected box
    QCOMPARE(messages.size(), std::size_t{1});
    QCOMPARE(statusDuringTheBox, QStringList{QString()});
    QCOMPARE(form->statusPanel1->text(), qs("NODRA nepripojený"));
    QTRY_COMPARE_WITH_TIMEOUT(form->statusPanel1->text(), qs("NODRA pripojený"), 2000);
    QCOMPARE(messages.size(), std::size_t{1});
  }

  // The check reads the list the boxes name now, shows every problem in one list and writes nothing.
  void theCheckButtonListsTheProblemsAndWritesNothing() {
    writeFile(terminalIni(), kTerminalIni);
    writeFile(home() / "vstup.txt", "1;1;1;a\n2;x;1;b\n3;1;1;c\n");
    writeFile(home() / "zly.txt", "1;1;1;a\n2;x;1;b\n\n4;1;1;\xD0\xB6\n");
    writeFile(home() / "nodra3000.ini", "[PATHS]\r\npath_ins=" + (home() / "vstup.txt").string() + "\r\n");
    auto form = makeForm();
    form->Btn_konfiguracia->click();
    form->Page_konfig->setCurrentWidget(form->cfg_SK);
    const std::set<std::string> homeBefore = namesIn(home());
    const std::string settingsBefore = readFile(home() / "nodra3000.ini");
    const std::string cardBefore = readFile(terminalIni());
    messages.clear();
    form->cfg_SK->Edit_in_karty->setText(qs((home() / "zly.txt").string()));
    form->cfg_SK->Btn_skontroluj->click();
    QCOMPARE(messages.size(), std::size_t{1});
    QVERIFY(messages[0].longList);
    QCOMPARE(messages[0].caption, std::string("Kontrola vstupného súboru"));
    QCOMPARE(messages[0].icon, Icon::Warning);
    QCOMPARE(messages[0].text,
             std::string("riadok 2: Chyba číselnej premennej: „x“\r\n"
                         "riadok 3: Prázdny riadok, nič sa z neho neprenesie\r\n"
                         "riadok 4: Znak, ktorý Windows-1250 nemá, sa do NODRA zapíše ako „?“: „4;1;1;?“\r\n"
                         "\r\nPoložiek na prenos: 2, riadkov s chybami: 2."));
    QCOMPARE(namesIn(home()), homeBefore);
    QCOMPARE(readFile(home() / "nodra3000.ini"), settingsBefore);
    QCOMPARE(readFile(terminalIni()), cardBefore);
    QVERIFY(!std::filesystem::exists(terminal() / "DATA" / "data_in.txt"));
  }

  // A list full of bad numbers does not make the user close a box for each: the first three come as boxes,
  // the rest as one list before the fill's own last word.
  void aFillShowsThreeProblemBoxesAndListsTheRest() {
    writeFile(terminalIni(), kTerminalIni);
    std::string list;
    for (int line = 1; line <= 7; ++line) list += std::to_string(line) + (line == 2 ? ";1;1;ok\n" : ";x;1;a\n");
    writeFile(home() / "vstup.txt", list);
    writeFile(home() / "nodra3000.ini", "[PATHS]\r\npath_ins=" + (home() / "vstup.txt").string() + "\r\n");
    // A headless run prints every message, each on its own line.
    for (bool headless : {false, true}) {
      messages.clear();
      auto form = makeForm({}, headless);
      form->Btn_napln_sklad->click();
      QCOMPARE(messages.size(), std::size_t{headless ? 7u : 5u});
      for (std::size_t i = 0; i + 1 < messages.size(); ++i) QCOMPARE(messages[i].longList, !headless && i == 3);
      if (!headless) {
        QCOMPARE(messages[2].lineProblem->line, 4u);
        QCOMPARE(messages[3].text, std::string("Ďalšie problémy vstupného súboru (3):\r\n"
                                               "\r\nriadok 5: Chyba číselnej premennej: „x“"
                                               "\r\nriadok 6: Chyba číselnej premennej: „x“"
                                               "\r\nriadok 7: Chyba číselnej premennej: „x“"));
      }
      QCOMPARE(messages.back().caption, std::string("Prenos údajov ukončený."));
      QCOMPARE(readFile(terminal() / "DATA" / "data_in.txt"), std::string("2;1.00;1.000;ok\r\n"));
      QCOMPARE(form->exitCode(), ExitCode::Failure);
    }
  }

  // A sample line from a list in UTF-8 shows the same characters the fill would send, the mark dropped.
  void theSampleLineOfAUtf8ListReadsAsTheFillReadsIt() {
    writeFile(home() / "vstup.txt",
              "\xEF\xBB\xBF"
              "4711  3  Ro\xC5\xBEok \xC4\x8Du\xC4\x8Doriedkov\xC3\xBD\r\n");
    writeFile(home() / "nodra3000.ini", "[PATHS]\r\npath_ins=" + (home() / "vstup.txt").string() + "\r\n");
    auto form = makeForm();
    ImportExportPage* p = form->cfg_SK;
    p->ChBox_pevna_dl_ISK->setChecked(true);
    p->Btn_cfg_nacitaj->click();
    QCOMPARE(p->RE_vstup->toPlainText(), qs("4711  3  Rožok čučoriedkový"));
  }

  void fixedLengthSpansAreMarkedOnTheSampleLine() {
    const std::string sample = "4711         12,50   3  Mlieko polotučné";
    writeFile(home() / "vstup.txt", sample + "\r\ndruhy riadok\r\n");
    writeFile(home() / "nodra3000.ini", "[PATHS]\r\npath_ins=" + (home() / "vstup.txt").string() + "\r\n");
    auto form = makeForm();
    ImportExportPage* p = form->cfg_SK;
    p->ChBox_pevna_dl_ISK->setChecked(true);
    p->Btn_cfg_nacitaj->click();
    QCOMPARE(p->RE_vstup->toPlainText(), qs(sample));

    auto select = [p](int start, int length) {
      QTextCursor c(p->RE_vstup->document());
      c.setPosition(start);
      c.setPosition(start + length, QTextCursor::KeepAnchor);
      p->RE_vstup->setTextCursor(c);
    };
    select(0, 13);
    QVERIFY(form->PopupMenu1Popup());
    form->Kodtovaru1Click();
    QCOMPARE(form->settings.KOD_zac, 0);
    QCOMPARE(form->settings.KOD_dlzka, 13);
    QVERIFY(form->PopupMenu1Popup());
    QVERIFY(!p->Kodtovaru1->isEnabled());
    QCOMPARE(p->Kodtovaru1->text(), qs("Kod tovaru (13)"));
    QVERIFY(p->Cena1->isEnabled());

    select(10, 8);  // over the marked code and unmarked text
    QVERIFY(!form->PopupMenu1Popup());
    QCOMPARE(messages.back().caption, std::string("!!! Chyba !!!"));

    QTextCursor caret(p->RE_vstup->document());
    caret.setPosition(13);
    p->RE_vstup->setTextCursor(caret);
    p->UpDown_in->setValue(16);
    caret.setPosition(13);
    p->RE_vstup->setTextCursor(caret);
    form->RE_vstupMouseDown();
    QCOMPARE(p->RE_vstup->textCursor().selectedText().size(), 16);
    caret.setPosition(static_cast<int>(p->RE_vstup->toPlainText().size()) - 5);
    p->RE_vstup->setTextCursor(caret);
    form->RE_vstupMouseDown();
    QCOMPARE(p->Edit1->text(), qs("5"));

    form->Reset1Click();
    QCOMPARE(form->settings.KOD_dlzka, 0);
    QCOMPARE(form->settings.NAZ_zac, 0);
    // Nothing is selected after "Reset": no field can be marked with an empty span, and choosing one anyway
    // stores nothing.
    QVERIFY(!p->RE_vstup->textCursor().hasSelection());
    QVERIFY(form->PopupMenu1Popup());
    for (QAction* item : {p->Kodtovaru1, p->Cena1, p->Pocet1, p->Nazovtovaru1}) QVERIFY(!item->isEnabled());
    QVERIFY(p->Reset1->isEnabled());
    QCOMPARE(p->Kodtovaru1->text(), qs("Kod tovaru (0)"));
    form->Cena1Click();
    QCOMPARE(form->settings.CEN_dlzka, 0);
    QVERIFY(!form->fieldMarked[1]);
    select(4, 3);
    QVERIFY(form->PopupMenu1Popup());
    QVERIFY(p->Kodtovaru1->isEnabled());
  }

  // The length box and its arrows are one control: a length typed into it is what the next click selects,
  // and the arrows step from it.
  void aTypedLengthIsUsedByTheNextClickIntoTheSample() {
    const std::string sample = "4711         12,50   3  Mlieko polotučné";
    writeFile(home() / "vstup.txt", sample + "\r\n");
    writeFile(home() / "nodra3000.ini", "[PATHS]\r\npath_ins=" + (home() / "vstup.txt").string() + "\r\n");
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    form->Btn_konfiguracia->click();
    form->Page_konfig->setCurrentWidget(form->cfg_SK);
    ImportExportPage* p = form->cfg_SK;
    p->ChBox_pevna_dl_ISK->setChecked(true);
    p->Btn_cfg_nacitaj->click();
    p->Edit1->setFocus();
    p->Edit1->selectAll();
    QTest::keyClicks(p->Edit1, QStringLiteral("5"));
    QTextCursor at(p->RE_vstup->document());
    at.setPosition(2);
    QTest::mouseClick(p->RE_vstup->viewport(), Qt::LeftButton, Qt::NoModifier,
                      p->RE_vstup->cursorRect(at).center() + QPoint(1, 0));
    QCOMPARE(p->RE_vstup->textCursor().selectionStart(), 2);
    QCOMPARE(p->RE_vstup->textCursor().selectedText(), qs(sample.substr(2, 5)));

    QTest::keyClick(p->UpDown_in, Qt::Key_Up);
    QCOMPARE(p->Edit1->text(), qs("6"));
    QCOMPARE(p->RE_vstup->textCursor().selectedText(), qs(sample.substr(2, 6)));
  }

  void hiddenWifiPageReadsAndWritesTheWirelessSettings() {
    writeFile(terminalIni(), kTerminalIni);
    const auto wifi = terminal() / "CONFIG" / "wifi.ini";
    writeFile(wifi,
              "[WIFI]\r\nIPADDR0=192\r\nIPADDR1=168\r\nIPADDR2=1\r\nIPADDR3=10\r\nWLANFLAG_AUTHEN=3\r\n"
              "[FTP]\r\nFTPPORT=2121\r\nFTPMENO=sklad\r\n");
    auto form = makeForm();
    form->Btn_konfiguracia->click();
    form->setPageTabShown(5, true);
    form->Page_konfig->setCurrentWidget(form->TabSheet1);
    WifiPage* p = form->TabSheet1;
    QCOMPARE(p->MaskEdit_ip->displayText(), qs("192.168.001.010"));
    QCOMPARE(p->MaskEdit_subnet->displayText(), qs("255.255.255.000"));
    QCOMPARE(p->RG_wifi_sec_items->checkedId(), 2);
    QVERIFY(!p->PageControl_security->isHidden());
    QCOMPARE(p->PageControl_security->tabText(p->PageControl_security->currentIndex()), qs("EAP"));
    QCOMPARE(p->Edit_ftp_port->text(), qs("2121"));

    p->RG_wifi_sec_items->button(0)->click();
    QVERIFY(p->PageControl_security->isHidden());
    emit p->PageControl_security->tabBar()->tabBarClicked(0);
    QCOMPARE(p->RG_wifi_sec_items->checkedId(), 1);

    p->Edit_ssid->setText(qs("Sklad"));
    p->Edit_ftp_port->setText(qs("21a"));
    messages.clear();
    p->BitBtn_cfg_wifi->click();
    QCOMPARE(messages.back().text, std::string("'21a' is not a valid integer value"));
    std::string after = readFile(wifi);
    QVERIFY(after.find("SSID=Sklad\r\n") != std::string::npos);
    QVERIFY(after.find("WLANFLAG_AUTHEN=2\r\n") != std::string::npos);
    QVERIFY(after.find("FTPPORT=2121\r\n") != std::string::npos);

    p->Edit_ftp_port->setText(qs("21"));
    p->BitBtn_cfg_wifi->click();
    QCOMPARE(messages.back().text, std::string("Konfigurácia prenesená do NODRA."));
    QCOMPARE(form->statusPanel1->text(), qs("Konfigurácia zapísaná"));
    QVERIFY(readFile(wifi).find("FTPPORT=21\r\n") != std::string::npos);
  }

  void flashPageCopiesTheProgramOntoTheCard() {
    writeFile(terminalIni(), kTerminalIni);
    auto form = makeForm();
    form->TabSheet2->BitBtn_napln->click();
    QCOMPARE(messages.back().caption, std::string("Chyba prenosu programu."));
    QVERIFY(std::filesystem::is_directory(terminal() / "PROGRAM"));

    writeFile(home() / "NODRA_2_5.SHX", std::string("\x01\x02program\0\xff", 12));
    form->TabSheet2->Edit_program->setText(qs((home() / "NODRA_2_5.SHX").string()));
    form->TabSheet2->BitBtn_napln->click();
    QCOMPARE(messages.back().caption, std::string("Prenos programu ukončený."));
    QCOMPARE(form->statusPanel1->text(), qs("NODRA pripojený"));
    QCOMPARE(readFile(terminal() / "PROGRAM" / "NODRA_2_5.SHX"), readFile(home() / "NODRA_2_5.SHX"));
  }

  // Once the FLASH page has been shown, its file dialog opens in the working folder with no file name filled
  // in; cancelling it changes nothing.
  void theFlashFileDialogOpensInTheWorkingFolder() {
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(home().string())));
    auto form = makeForm();
    form->Page_konfig->setCurrentWidget(form->TabSheet2);
    QString folder, name = QStringLiteral("not looked at");
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      folder = dialog->directory().absolutePath();
      auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      name = nameBox ? nameBox->text() : QStringLiteral("no name box");
      dialog->reject();
    });
    form->Button21Click();
    QDir::setCurrent(before);
    QCOMPARE(folder, QDir(QString::fromStdString(home().string())).absolutePath());
    QCOMPARE(name, QString());
    QCOMPARE(form->TabSheet2->Edit_program->text(), qs("Nalistuj cestu k programu "));
  }

  void pohodaPageNeedsItsImportCommandAndReportsAMissingDataPack() {
    auto form = makeForm();
    form->TabSheet3->Button3->click();
    QCOMPARE(messages.size(), std::size_t{1});
    QVERIFY(messages[0].text.find("POHODA") != std::string::npos);
    form->TabSheet3->Button2->click();
    QCOMPARE(messages.size(), std::size_t{2});
    QCOMPARE(messages[1].outcome, Outcome::Failure);
  }

  // A bare name in the XML folder setting means the program's folder, for the read-out and for the two
  // hidden buttons that read what it wrote; a pipe at that name is refused, not waited on.
  void theHiddenXmlButtonsReadWhereTheReadOutWrote() {
    writeFile(home() / "nodra3000.ini", "[PATHS]\r\npath_xmlOut=vsetkySklady\r\n");
    writeFile(home() / "DATA_OUT.XML", "<?xml version=\"1.0\"?>\n<DATA_OUT />\n");
    auto form = makeForm();
    form->tab_xml->Button1->click();
    QCOMPARE(messages.size(), std::size_t{0});
    form->TabSheet3->Button2->click();
    QCOMPARE(messages.size(), std::size_t{1});
    QVERIFY(messages[0].text.find((home() / "zasoby.XML").string()) != std::string::npos);
    std::filesystem::remove(home() / "DATA_OUT.XML");
    QVERIFY(::mkfifo((home() / "DATA_OUT.XML").c_str(), 0600) == 0);
    form->tab_xml->Button1->click();
    QCOMPARE(messages.size(), std::size_t{2});
    QCOMPARE(messages[1].outcome, Outcome::Failure);
    QVERIFY(messages[1].text.find("FIFO") != std::string::npos);
  }

  void batchClearOfTheReportAndTheUsageText() {
    writeFile(terminalIni(), kTerminalIni);
    auto form = makeForm({QStringLiteral("z")});
    QCOMPARE(form->exitCode(), ExitCode::Ok);
    QVERIFY(readFile(terminalIni()).find("CLEAR_SKLAD=0\r\nCLEAR_ZOST=1\r\nCLEAR_SKLADVP=0\r\n") != std::string::npos);
    QVERIFY(std::filesystem::exists(home() / "nodra3000.ini"));

    messages.clear();
    auto usage = makeForm({QStringLiteral("v")});
    QCOMPARE(usage->exitCode(), ExitCode::Usage);
    QCOMPARE(messages.size(), std::size_t{1});
    QCOMPARE(messages[0].caption, std::string("NODRA3000"));
    QVERIFY(messages[0].text.rfind("nodra_mmc_trm.exe [VPNZzO] [/min]\n\nV - ", 0) == 0);
  }

  // The editor's two failures: a sample file that cannot be opened leaves the sample as it was; a length that
  // is not a whole number stops "Reset" after the marks are gone but before the stored spans change.
  void layoutEditorFailuresKeepWhatTheyHad() {
    const std::string sample = "4711         12,50   3  Mlieko";
    writeFile(home() / "vstup.txt", sample + "\r\n");
    writeFile(home() / "nodra3000.ini", "[PATHS]\r\npath_ins=" + (home() / "vstup.txt").string() +
                                            "\r\n[InFormat Pevna_dlzka]\r\nKOD_zac=2\r\nKOD_dlzka=7\r\n");
    auto form = makeForm();
    ImportExportPage* p = form->cfg_SK;
    p->ChBox_pevna_dl_ISK->setChecked(true);
    p->Btn_cfg_nacitaj->click();
    QCOMPARE(p->RE_vstup->toPlainText(), qs(sample));

    std::filesystem::remove(home() / "vstup.txt");
    messages.clear();
    p->Btn_cfg_nacitaj->click();
    QCOMPARE(messages.size(), std::size_t{1});
    QCOMPARE(messages[0].outcome, Outcome::Failure);
    QVERIFY(messages[0].text.find("vstup.txt") != std::string::npos);
    QCOMPARE(p->RE_vstup->toPlainText(), qs(sample));

    p->Edit1->setText(qs("pat"));
    messages.clear();
    form->Reset1Click();
    QCOMPARE(messages.size(), std::size_t{1});
    QCOMPARE(messages[0].text, std::string("'pat' is not a valid integer value"));
    QCOMPARE(form->settings.KOD_zac, 2);
    QCOMPARE(form->settings.KOD_dlzka, 7);
  }
};

QTEST_MAIN(FormTest)
#include "form_test.moc"
