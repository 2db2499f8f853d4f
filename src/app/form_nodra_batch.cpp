// The batch run: one command from the command line in a small window at the screen's corner, then the close.
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWindow>

#include "app/command_line_info.h"
#include "app/form_nodra.h"
#include "app/qt_text.h"

namespace nodra {

void TForm_nodra::runBatch() {
  // The flags first: changing them later re-creates the window and loses where it was put.
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  for (QWidget* w : {static_cast<QWidget*>(Btn_vyc_karty), static_cast<QWidget*>(Btn_napln_sklad),
                     static_cast<QWidget*>(Btn_konfiguracia), static_cast<QWidget*>(Image1)}) {
    w->hide();
  }
  Bar->show();
  fitBatchWindow(60);
  if (options_.arguments.size() >= 2) {
    if (options_.arguments[1] == QStringLiteral("/min")) {
      runMinimized_ = true;
      setWindowFlag(Qt::WindowStaysOnTopHint, false);
      setWindowState(Qt::WindowMinimized);
    } else if (!options_.headless) {
      show();
      waitForWindowFrame();
      fitBatchWindow(60);
    }
  }
  const QString command = options_.arguments.front();
  const QChar letter = command.isEmpty() ? QChar() : command.front();
  if (letter == QLatin1Char('V')) {
    Btn_vyc_kartyClick();
  } else if (letter == QLatin1Char('N')) {
    Btn_nenul_kartyClick();
  } else if (letter == QLatin1Char('P')) {
    fitBatchWindow(40);
    Btn_vyc_zostClick();
  } else if (letter == QLatin1Char('O')) {
    fitBatchWindow(40);
    Btn_napln_skladClick();
  } else if (letter == QLatin1Char('Z')) {
    fitBatchWindow(40);
    Btn_nul_skladClick();
  } else if (letter == QLatin1Char('z')) {
    fitBatchWindow(40);
    Btn_nul_zostClick();
  } else {
    showUsage();
  }
  close();
}

void TForm_nodra::fitBatchWindow(int outerHeight) {
  // The outer height counts the title bar, which only the window manager knows, once it has framed the window.
  // What the height cannot hold is given room all the same: the status bar always, and the gauge (below it)
  // when the window is the taller one. Otherwise the gauge shows only when it fits whole.
  const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  const int atLeast = outerHeight >= 60 ? 2 * kStatusHeight : kStatusHeight;
  const int client = std::max(outerHeight - frame.top() - frame.bottom(), atLeast);
  Bar->setVisible(client >= 2 * kStatusHeight);
  setFixedSize(kClientWidth, client);
  placeBars();
  // A window's position is that of its frame: the title bar sits on the screen.
  move(0, 0);
}

void TForm_nodra::waitForWindowFrame() {
  QElapsedTimer waited;
  waited.start();
  while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < 2000) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(5);
  }
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm_nodra::showUsage() {
  usageShown_ = true;
  Message usage = informationMessage(usageText(), fromQs(applicationTitle_)).notOnTop();
  usage.icon = Icon::None;
  ui_->message(usage);
}

}  // namespace nodra
